#include "windows/login/TFormRegist.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPalette>

#include "Korvane/AccountCalls.h"
#include "Korvane/FieldRules.h"
#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "platform/platform.h"
#include "windows/login/CallFailure.h"
#include "windows/login/EditLook.h"
#include "windows/login/KeyFilter.h"
#include "windows/login/TrimBlanks.h"

namespace {

const QColor kPanelColour(0xD5, 0xDB, 0xCD);
// The system's info-background colour of read-only boxes.
const QColor kInfoColour(0xFF, 0xFF, 0xE1);
const QString kNotice = QStringLiteral("提示");
const QString kError = QStringLiteral("错误");
const QString kConfirm = QStringLiteral("确认");

constexpr int kLabelLeft = 16;
constexpr int kEditLeft = 88;
constexpr int kMarkLeft = 244;
// Labels and marks sit on the text line of their edit box.
constexpr int kTextOffset = 4;

QLabel* NewLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setFont(SimSunFont(14));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->move(left, top);
  label->adjustSize();
  return label;
}

TGlowButton* NewButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place) {
  auto* button = new TGlowButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setAutoDefault(false);
  return button;
}

std::string Utf8(const QLineEdit* edit) { return edit->text().toStdString(); }

std::string Trimmed(const QLineEdit* edit) {
  return login::TrimBlanks(edit->text()).toStdString();
}

}  // namespace

TFormRegist::TFormRegist(QWidget* parent) : TFormBase(parent) {
  setObjectName(QStringLiteral("FormRegist"));
  setWindowTitle(QStringLiteral("用户注册"));
  resize(357, 319);
  setPosition(TPosition::poMainFormCenter);
  postShowHandler();
  buildContent();
  FormCreate();
}

void TFormRegist::buildContent() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, kPanelColour);
  Panel1->setPalette(palette);

  txt_account = addRow(24, QStringLiteral("登录帐号:"), new QLineEdit(Panel1), "txt_account");
  txt_password = addRow(56, QStringLiteral("登录密码:"), new QLineEdit(Panel1), "txt_password");
  txt_repassword =
      addRow(88, QStringLiteral("确认密码:"), new QLineEdit(Panel1), "txt_repassword");
  txt_company = addRow(120, QStringLiteral("公司名称:"), new QLineEdit(Panel1), "txt_company");
  txt_seat = new TAreaEdit(Panel1);
  addRow(152, QStringLiteral("所 在 地:"), txt_seat, "txt_seat");
  txt_mobile = addRow(184, QStringLiteral("手机号码:"), new QLineEdit(Panel1), "txt_mobile");
  txt_verify = addRow(216, QStringLiteral("验 证 码:"), new QLineEdit(Panel1), "txt_verify");

  txt_password->setEchoMode(QLineEdit::Password);
  txt_repassword->setEchoMode(QLineEdit::Password);
  txt_seat->setReadOnly(true);
  login::StyleEditBox(txt_seat, kInfoColour);
  txt_mobile->setMaxLength(11);
  addMarks();
  buildButtons();

  const QList<QWidget*> order = {txt_account,    txt_password,   txt_repassword, txt_company,
                                 txt_seat,       txt_mobile,     txt_verify,     AdvGlowButton1,
                                 AdvGlowButton3, AdvGlowButton2, btn_seat_choose, btn_seat_del};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QLineEdit* TFormRegist::addRow(int top, const QString& label, QLineEdit* edit, const char* name) {
  NewLabel(Panel1, label, kLabelLeft, top + kTextOffset);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(kEditLeft, top, 153, 21);
  login::StyleEditBox(edit);
  edit->installEventFilter(this);
  return edit;
}

void TFormRegist::addMarks() {
  for (const int top : {24, 56, 88, 120, 152, 184, 216}) {
    QLabel* mark = NewLabel(Panel1, QStringLiteral("*"), kMarkLeft, top + kTextOffset);
    mark->setFont(SimSunFont(14, true));
    QPalette palette = mark->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    mark->setPalette(palette);
  }
  NewLabel(Panel1, QStringLiteral("昵称"), 254, 24 + kTextOffset);
}

void TFormRegist::buildButtons() {
  btn_seat_choose = NewButton(Panel1, "btn_seat_choose", QStringLiteral("选择"),
                              QRect(254, 152, 38, 21));
  btn_seat_del =
      NewButton(Panel1, "btn_seat_del", QStringLiteral("清除"), QRect(297, 152, 38, 21));
  AdvGlowButton3 = NewButton(Panel1, "AdvGlowButton3", QStringLiteral("获取验证码"),
                             QRect(254, 216, 81, 21));
  AdvGlowButton1 =
      NewButton(Panel1, "AdvGlowButton1", QStringLiteral("注册"), QRect(120, 248, 52, 20));
  AdvGlowButton2 =
      NewButton(Panel1, "AdvGlowButton2", QStringLiteral("取消"), QRect(184, 247, 52, 21));
  connect(btn_seat_choose, &QPushButton::clicked, this, &TFormRegist::btn_seat_chooseClick);
  connect(btn_seat_del, &QPushButton::clicked, this, &TFormRegist::btn_seat_delClick);
  connect(AdvGlowButton1, &QPushButton::clicked, this, &TFormRegist::AdvGlowButton1Click);
  connect(AdvGlowButton2, &QPushButton::clicked, this, &TFormRegist::AdvGlowButton2Click);
  connect(AdvGlowButton3, &QPushButton::clicked, this, &TFormRegist::AdvGlowButton3Click);
}

QList<QLineEdit*> TFormRegist::edits() const {
  return {txt_account, txt_password, txt_repassword, txt_company,
          txt_seat,    txt_mobile,   txt_verify};
}

void TFormRegist::FormCreate() {
  TFormBase::FormCreate();
  placeContent(Panel1);
  compactTitleBar();
  hideMinButton();
}

// ---- Showing: the access session -------------------------------------------------------

void TFormRegist::FormShow() {
  if (!isVisible()) return;
  const Korvane::TMYResult result = Korvane::Verify(Korvane::VerifyMode::Access, "", "");
  if (!result.success)
    login::ShowCallFailure(result, login::TNetworkText::N2, login::ServiceReport(result));
}

// ---- Edit boxes ------------------------------------------------------------------------

bool TFormRegist::eventFilter(QObject* watched, QEvent* event) {
  const QList<QLineEdit*> boxes = edits();
  if (auto* edit = qobject_cast<QLineEdit*>(watched); edit != nullptr && boxes.contains(edit)) {
    if (event->type() == QEvent::FocusIn) EditEnter(edit);
    if (event->type() == QEvent::FocusOut) EditExit(edit);
    if (refusedInput(watched, event)) return true;
  }
  return TFormBase::eventFilter(watched, event);
}

bool TFormRegist::refusedInput(QObject* watched, QEvent* event) {
  if (watched != txt_account && watched != txt_mobile) return false;
  const auto passes = [&](const QString& character) {
    return watched == txt_account ? txt_accountKeyPress(character)
                                  : txt_mobileKeyPress(character);
  };
  if (event->type() == QEvent::KeyPress) {
    const QString character = login::TypedCharacter(*static_cast<QKeyEvent*>(event));
    if (character.isEmpty() || login::IsEditingKey(character)) return false;
    return !passes(character);
  }
  if (event->type() == QEvent::InputMethod) {
    // Characters composed by an input method are judged one by one, like typed ones.
    const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
    for (qsizetype i = 0; i < committed.size(); ++i) {
      const qsizetype length = committed.at(i).isHighSurrogate() ? 2 : 1;
      if (!passes(committed.mid(i, length))) return true;
      i += length - 1;
    }
  }
  return false;
}

void TFormRegist::EditEnter(QLineEdit* edit) { login::SetFocusLook(edit, true); }

void TFormRegist::EditExit(QLineEdit* edit) { login::SetFocusLook(edit, false); }

bool TFormRegist::txt_accountKeyPress(const QString& character) {
  return Korvane::CheckPattern(character.toStdString(), "LoginName");
}

bool TFormRegist::txt_mobileKeyPress(const QString& character) {
  return character.size() == 1 && character.at(0) >= QLatin1Char('0') &&
         character.at(0) <= QLatin1Char('9');
}

// ---- Seat city -------------------------------------------------------------------------

void TFormRegist::btn_seat_chooseClick() {
  TFormArea picker;
  picker.onlyOneCity = true;
  picker.txt_area->setText(txt_seat->text());
  picker.txt_area->setHiddenValue(txt_seat->hiddenValue());
  if (picker.exec() != mrOk) return;
  txt_seat->setText(picker.txt_area->text());
  txt_seat->setHiddenValue(picker.txt_area->hiddenValue());
}

void TFormRegist::btn_seat_delClick() {
  txt_seat->clear();
  txt_seat->setHiddenValue(QString());
}

// ---- Verification code -----------------------------------------------------------------

void TFormRegist::AdvGlowButton3Click() {
  if (txt_mobile->text().isEmpty()) {
    FormMsg->showInfo(kError, QStringLiteral("手机号码不能为空!"), kConfirm);
    txt_mobile->setFocus();
    return;
  }
  const Korvane::TMYResult result = Korvane::RequestCaptcha(Utf8(txt_mobile));
  if (result.success) {
    FormMsg->showConfirm(kNotice, QStringLiteral("验证码已发送至您手机,请注意查收!\r\n\r\n"
                                                 "如果长时间未收到请检查短信拦截设置!\r\n"
                                                 "或者请联系客服协助解决!"));
  } else if (result.code == "621") {
    login::ShowActivationNeeded(result);
  } else {
    login::ShowCallFailure(result, login::TNetworkText::N1, login::ServiceReport(result));
  }
}

// ---- Registration ----------------------------------------------------------------------

bool TFormRegist::checkEntry(bool failed, const QString& caption, const QString& text,
                             QLineEdit* focus) {
  if (!failed) return true;
  FormMsg->showInfo(caption, text, kConfirm);
  focus->setFocus();
  return false;
}

bool TFormRegist::entriesPass() {
  const std::string account = Utf8(txt_account);
  const std::string password = Utf8(txt_password);
  const std::string company = Utf8(txt_company);
  const std::string mobile = Utf8(txt_mobile);
  if (!checkEntry(Trimmed(txt_account).empty(), kError, QStringLiteral("登录帐号不能为空!"),
                  txt_account) ||
      !checkEntry(platform::Cp936Length(Trimmed(txt_password)) < 6, kError,
                  QStringLiteral("登录密码不能为空且长度至少6位!"), txt_password) ||
      !checkEntry(txt_password->text() != txt_repassword->text(), kError,
                  QStringLiteral("两次密码输入不一致!"), txt_password) ||
      !checkEntry(Trimmed(txt_company).empty(), kError, QStringLiteral("公司名称不能为空!"),
                  txt_company) ||
      !checkEntry(Trimmed(txt_seat).empty(), kError, QStringLiteral("所在地不能为空!"),
                  txt_company) ||
      !checkEntry(Trimmed(txt_mobile).empty(), kError, QStringLiteral("手机号码不能为空!"),
                  txt_mobile) ||
      !checkEntry(Trimmed(txt_verify).empty(), kError, QStringLiteral("验证码不能为空!"),
                  txt_verify) ||
      !checkEntry(Korvane::CheckPattern(account, "Phone") &&
                      Trimmed(txt_account) != Trimmed(txt_mobile),
                  kError, QStringLiteral("登录帐号不能与手机号码不一致!"), txt_account) ||
      !checkEntry(Korvane::CheckPattern(company, "IllegalChar"), kNotice,
                  QStringLiteral("公司名称不能包含以下字符:\r\n\r\n"
                                 "~!#&%^&*()=+|\\[]{};':\",?/<>"),
                  txt_company))
    return false;
  if (Korvane::CheckPattern(password, "Password") &&
      FormMsg->showConfirm(kNotice, QStringLiteral("密码过于简单,存在安全隐患!\r\n"
                                                   "建议不要使用以下形式的密码:\r\n"
                                                   "123456,888888,aabbcc,全数字或字母\r\n\r\n"
                                                   "点击确认直接注册\r\n点击取消立即修改")) ==
          mrCancel) {
    txt_password->setFocus();
    return false;
  }
  return checkEntry(!Korvane::CheckPattern(mobile, "Phone"), kNotice,
                    QStringLiteral("手机号码无效!"), txt_mobile);
}

void TFormRegist::AdvGlowButton1Click() {
  if (!entriesPass()) return;
  const Korvane::TMYResult result =
      Korvane::RegisterUser(Utf8(txt_account), Utf8(txt_password), Utf8(txt_company),
                            Utf8(txt_mobile), Utf8(txt_verify), txt_seat->hiddenValue().toStdString());
  if (!result.success) {
    showRegistrationFailure(result);
    return;
  }
  FormMsg->showInfo(kNotice, QStringLiteral("用户注册成功!"), kConfirm);
  done(mrOk);
}

void TFormRegist::showRegistrationFailure(const Korvane::TMYResult& result) {
  if (result.code == "621") {
    login::ShowActivationNeeded(result);
    return;
  }
  login::ShowCallFailure(result, login::TNetworkText::N2,
                         login::ServiceReport(result) + QString::fromStdString(result.detail));
}

void TFormRegist::AdvGlowButton2Click() { done(mrCancel); }
