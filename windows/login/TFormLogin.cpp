#include "windows/login/TFormLogin.h"

TFormLogin::TFormLogin(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormLogin"));
  setWindowTitle(QStringLiteral("KorvaneVandrel"));
  resize(290, 428);
  setPosition(TPosition::poDesktopCenter);
  FormCreate();
}

void TFormLogin::FormCreate() {
  TFormBase::FormCreate();
}
