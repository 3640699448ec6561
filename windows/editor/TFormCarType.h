// The vehicle-type picker: one choice from each of the four type groups.
#pragma once

#include "app/TFormBase.h"

class TFormCarType : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormCarType(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
