// The display-settings dialog of the fleet window's vehicle grid.
#pragma once

#include "app/TFormBase.h"

class TFormSetting : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormSetting(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
