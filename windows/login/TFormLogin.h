// The login window: the application's main window and the only one visible at start.
#pragma once

#include "app/TFormBase.h"

class TFormLogin : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormLogin(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
