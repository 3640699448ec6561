#include "windows/auxiliary/TFormSetting.h"

TFormSetting::TFormSetting(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormSetting"));
  setWindowTitle(QStringLiteral("显示设置"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(295, 300);
  setPosition(TPosition::poMainFormCenter);
  FormCreate();
}

void TFormSetting::FormCreate() {
  TFormBase::FormCreate();
  compactTitleBar();
  hideMinButton();
}
