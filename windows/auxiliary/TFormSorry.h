// The usage-advice window, shown modeless after the fleet window first appears.
#pragma once

#include "app/TFormBase.h"

class TFormSorry : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormSorry(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
