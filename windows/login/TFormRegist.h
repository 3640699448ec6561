// The registration window for new companies, shown modally from the login window.
#pragma once

#include "app/TFormBase.h"

class TFormRegist : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormRegist(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
