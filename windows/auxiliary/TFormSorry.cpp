#include "windows/auxiliary/TFormSorry.h"

TFormSorry::TFormSorry(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormSorry"));
  setWindowTitle(QStringLiteral("使用建议"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(446, 418);
  FormCreate();
}

void TFormSorry::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
