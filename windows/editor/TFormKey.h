// The plate keyboard window: the plate keys for the fleet search box.
#pragma once

#include "app/TFormBase.h"

class TFormKey : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormKey(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
