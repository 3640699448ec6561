#include "windows/login/TFormRegist.h"

TFormRegist::TFormRegist(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormRegist"));
  setWindowTitle(QStringLiteral("用户注册"));
  resize(357, 319);
  setPosition(TPosition::poMainFormCenter);
  FormCreate();
}

void TFormRegist::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
