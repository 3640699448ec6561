// The area picker: provinces and cities ticked in a tree.
#pragma once

#include "app/TFormBase.h"

class TFormArea : public TFormBase {
  Q_OBJECT

 public:
  explicit TFormArea(QWidget* parent = nullptr);

 protected:
  void FormCreate() override;
};
