#include "windows/fleet/TFormMain.h"

TFormMain::TFormMain(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("KorvaneVandrel - 物流行业位置服务领导者"));
  resize(1259, 779);
  FormCreate();
}

void TFormMain::FormCreate() {
  TFormBase::FormCreate();
  hideBorders();
  compactTitleBar();
}
