#include "windows/editor/TFormCarType.h"

TFormCarType::TFormCarType(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormCarType"));
  setWindowTitle(QStringLiteral("车型录入"));
  resize(610, 491);
  setPosition(TPosition::poMainFormCenter);
  FormCreate();
}

void TFormCarType::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
