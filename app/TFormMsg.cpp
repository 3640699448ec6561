#include "app/TFormMsg.h"

#include <QPalette>

#include <string_view>

#include "Korvane/AccountCalls.h"
#include "Korvane/CallLayer.h"
#include "app/Fonts.h"
#include "platform/platform.h"

namespace {

const QString kPlainCaption = QStringLiteral("确认");
constexpr int kRowBytes = 35;
constexpr int kRowHeight = 8;
constexpr int kLineHeight = 12;

// The extra height of a text: counted in bytes of code page 936, lines ended by CR.
int ExtraHeight(std::string_view bytes) {
  const std::string text = std::string(bytes) + '\r';
  int lines = 0;
  int extra = 0;
  std::size_t length = 0;
  for (const char c : text) {
    if (c == '\r') {
      ++lines;
      extra += static_cast<int>(length / kRowBytes) * kRowHeight;
      length = 0;
    } else if (c != '\n') {
      ++length;
    }
  }
  return extra + (lines - 1) * kLineHeight;
}

// The label draws line breaks as LF.
QString DisplayText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

TFormMsg::TFormMsg(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormMsg"));
  setWindowTitle(QStringLiteral("提示"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(289, 145);
  setPosition(TPosition::poScreenCenter);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, QColor(0xD5, 0xDB, 0xCD));
  Panel1->setPalette(palette);

  Label1 = new QLabel(Panel1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(SimSunFont(14));
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1->setWordWrap(true);
  Label1->setTextFormat(Qt::PlainText);
  Label1->setGeometry(16, 33, 249, 41);

  btn_ok = new TGlowButton(kPlainCaption, Panel1);
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_ok->setGeometry(80, 68, 49, 23);
  btn_ok->setDefault(true);
  btn_cancel = new TGlowButton(QStringLiteral("取消"), Panel1);
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
  btn_cancel->setGeometry(152, 68, 49, 21);
  btn_cancel->setAutoDefault(false);
  connect(btn_ok, &QPushButton::clicked, this, &TFormMsg::btn_okClick);
  connect(btn_cancel, &QPushButton::clicked, this, &TFormMsg::btn_cancelClick);

  FormCreate();
}

void TFormMsg::FormCreate() {
  TFormBase::FormCreate();
  placeContent(Panel1);
  compactTitleBar();
  hideMinButton();
}

void TFormMsg::fitToText(const QString& text) {
  const int extra = ExtraHeight(platform::Utf8ToCp936(text.toStdString()));
  Label1->resize(Label1->width(), extra + 41);
  resize(width(), extra + 149);
  btn_ok->move(btn_ok->x(), extra + 68);
  btn_cancel->move(btn_cancel->x(), extra + 68);
}

void TFormMsg::showMessage(const QString& caption, const QString& text) {
  fitToText(text);
  Label_title->setText(caption);
  Label1->setText(DisplayText(text));
}

int TFormMsg::showInfo(const QString& caption, const QString& text,
                       const QString& buttonCaption) {
  if (isVisible()) return mrNone;
  showMessage(caption, text);
  btn_ok->move(112, btn_ok->y());
  const bool action = buttonCaption != kPlainCaption;
  if (action) {
    btn_ok->setAutoSize(true);
    btn_ok->setCaption(buttonCaption);
  }
  btn_cancel->hide();
  const int result = exec();
  if (action) {
    btn_ok->setAutoSize(false);
    btn_ok->setCaption(kPlainCaption);
    btn_ok->resize(49, btn_ok->height());
  }
  return result;
}

int TFormMsg::showConfirm(const QString& caption, const QString& text) {
  if (isVisible()) return mrNone;
  showMessage(caption, text);
  btn_ok->move(80, btn_ok->y());
  btn_cancel->move(152, btn_cancel->y());
  btn_cancel->show();
  return exec();
}

void TFormMsg::btn_okClick() {
  // An action that cannot be carried out (no browser, no repair command) is let go.
  const QString caption = btn_ok->caption();
  if (caption == QStringLiteral("体验新版"))
    platform::OpenUrl(Korvane::PortalUrl("", ""));
  else if (caption == QStringLiteral("立即领取"))
    platform::OpenUrl(Korvane::PortalUrl("account_rebates", ""));
  else if (caption == QStringLiteral("尝试修复"))
    Korvane::RepairNetwork();
  done(mrOk);
}

void TFormMsg::btn_cancelClick() { done(mrCancel); }
