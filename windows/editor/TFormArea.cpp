#include "windows/editor/TFormArea.h"

TFormArea::TFormArea(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormArea"));
  setWindowTitle(QStringLiteral("地区列表"));
  resize(324, 456);
  setPosition(TPosition::poMainFormCenter);
  FormCreate();
}

void TFormArea::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
