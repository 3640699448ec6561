// The fleet window: the client's main window after sign-in.
#pragma once

#include "app/TFormBase.h"

class TFormMain : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
