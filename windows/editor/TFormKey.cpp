#include "windows/editor/TFormKey.h"

TFormKey::TFormKey(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormKey"));
  setWindowTitle(QStringLiteral("车牌录入"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  // The 412 x 187 key area fills Panel_main inside the compact title bar and the borders.
  resize(412 + 2 * 7, 187 + 29 + 7);
  FormCreate();
}

void TFormKey::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
