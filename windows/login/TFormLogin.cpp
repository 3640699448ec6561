#include "windows/login/TFormLogin.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPalette>
#include <QPixmap>

#include "Korvane/AccountCalls.h"
#include "Korvane/Deployment.h"
#include "Korvane/Session.h"
#include "app/ApplicationTitle.h"
#include "app/Fonts.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "platform/platform.h"
#include "settings/Config.h"
#include "settings/Shortcut.h"
#include "uLogger/uLogger.h"
#include "windows/fleet/TFormMain.h"
#include "windows/login/CallFailure.h"
#include "windows/login/EditLook.h"
#include "windows/login/TFormRegist.h"
#include "windows/login/TrimBlanks.h"

// The window's pictures are resources of a static library: they are registered explicitly.
static void RegisterLoginPictures() { Q_INIT_RESOURCE(login); }

namespace {

const QColor kPanelColour(0x97, 0xA3, 0x8D);
const QString kNotice = QStringLiteral("提示");
const QString kConfirm = QStringLiteral("确认");

QLabel* NewWhiteLabel(QWidget* parent, const char* name, const QString& text, int left,
                      int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(SimSunFont(14));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& caption, int left) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setFont(SimSunFont(14));
  QPalette palette = box->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  box->setPalette(palette);
  box->setGeometry(left, 216, 75, 16);
  return box;
}

}  // namespace

TFormLogin::TFormLogin(QWidget* parent) : TFormBase(parent) {
  static const bool registered = (RegisterLoginPictures(), true);
  (void)registered;
  setObjectName(QStringLiteral("FormLogin"));
  setWindowTitle(QStringLiteral("KorvaneVandrel"));
  resize(290, 428);
  setPosition(TPosition::poDesktopCenter);
  postShowHandler();
  setFont(SimSunFont(16));
  auAutoUpgrader = new TAutoUpgrader(this);
  auAutoUpgrader->setObjectName(QStringLiteral("auAutoUpgrader"));
  buildContent();
  FormCreate();
}

void TFormLogin::buildContent() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, kPanelColour);
  Panel1->setPalette(palette);

  // The banner lies under the two edit boxes; its picture carries their labels.
  Image1 = new QLabel(Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(QPixmap(QStringLiteral(":/login/banner.jpg")));
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setGeometry(0, 0, 290, 212);

  buildEdits();
  buildButtons();
  buildLabels();
  setTabOrder(txt_code, txt_password);
  setTabOrder(txt_password, cb_remember);
  setTabOrder(cb_remember, cb_autologin);
  setTabOrder(cb_autologin, AdvGlowButton1);
  setTabOrder(AdvGlowButton1, AdvGlowButton2);
  setTabOrder(AdvGlowButton2, AdvGlowButton3);
}

void TFormLogin::buildEdits() {
  txt_code = new QLineEdit(Panel1);
  txt_code->setObjectName(QStringLiteral("txt_code"));
  txt_code->setGeometry(88, 131, 153, 24);
  txt_code->setToolTip(QStringLiteral("可以输入登录帐号或手机号码"));
  txt_password = new QLineEdit(Panel1);
  txt_password->setObjectName(QStringLiteral("txt_password"));
  txt_password->setGeometry(88, 179, 153, 24);
  txt_password->setEchoMode(QLineEdit::Password);
  for (QLineEdit* edit : {txt_code, txt_password}) {
    login::StyleEditBox(edit);
    edit->installEventFilter(this);
  }

  cb_remember = NewCheckBox(Panel1, "cb_remember", QStringLiteral("记住密码"), 88);
  cb_autologin = NewCheckBox(Panel1, "cb_autologin", QStringLiteral("自动登录"), 166);
  // Like the system's check boxes, a change of the state by the program runs the handler too.
  connect(cb_remember, &QCheckBox::toggled, this, &TFormLogin::cb_rememberClick);
  connect(cb_autologin, &QCheckBox::toggled, this, &TFormLogin::cb_autologinClick);
}

void TFormLogin::buildButtons() {
  AdvGlowButton1 = new TGlowButton(QStringLiteral("登录"), Panel1);
  AdvGlowButton1->setObjectName(QStringLiteral("AdvGlowButton1"));
  AdvGlowButton1->setGeometry(104, 255, 49, 18);
  AdvGlowButton1->setDefault(true);
  AdvGlowButton2 = new TGlowButton(QStringLiteral("忘记密码"), Panel1);
  AdvGlowButton2->setObjectName(QStringLiteral("AdvGlowButton2"));
  AdvGlowButton2->setGeometry(173, 255, 68, 18);
  AdvGlowButton3 = new TGlowButton(QStringLiteral("注册"), Panel1);
  AdvGlowButton3->setObjectName(QStringLiteral("AdvGlowButton3"));
  AdvGlowButton3->setGeometry(48, 255, 49, 18);
  connect(AdvGlowButton1, &QPushButton::clicked, this, &TFormLogin::AdvGlowButton1Click);
  connect(AdvGlowButton2, &QPushButton::clicked, this, &TFormLogin::AdvGlowButton2Click);
  connect(AdvGlowButton3, &QPushButton::clicked, this, &TFormLogin::AdvGlowButton3Click);
}

void TFormLogin::buildLabels() {
  RzLabel2 = NewWhiteLabel(Panel1, "RzLabel2", QString::fromUtf8(Korvane::kOperatorName), 70, 299);
  RzLabel3 = NewWhiteLabel(Panel1, "RzLabel3",
                           QStringLiteral("客服电话：") + QString::fromUtf8(Korvane::kServicePhone),
                           64, 321);
  RzLabel4 = NewWhiteLabel(Panel1, "RzLabel4",
                           QStringLiteral("客服QQ：") + QString::fromUtf8(Korvane::kServiceQQ), 78,
                           339);
  RzLabel5 = NewWhiteLabel(Panel1, "RzLabel5",
                           QStringLiteral("值班电话：") + QString::fromUtf8(Korvane::kDutyPhone), 64,
                           357);
}

// ---- Creation, showing, closing --------------------------------------------------------

void TFormLogin::FormCreate() {
  TFormBase::FormCreate();
  auAutoUpgrader->CheckUpdate();
  placeContent(Panel1);
  Image1->resize(Panel_main->width(), Image1->height());
  Config = loadConfig();
  txt_code->setText(QString::fromStdString(Config.user));
  cb_remember->setChecked(Config.remember);
  cb_autologin->setChecked(Config.autologin);
  if (Config.remember) txt_password->setText(QString::fromStdString(Config.password));
  CreateShortcut(platform::ExecutablePath(), kApplicationTitle);
  CreateLogger();
}

void TFormLogin::FormShow() {
  if (!isVisible()) return;
  if (Config.autologin) AdvGlowButton1Click();
  if (!txt_code->text().isEmpty()) txt_password->setFocus();
}

void TFormLogin::FormClose() { FreeLogger(); }

bool TFormLogin::event(QEvent* event) {
  if (event->type() == kWmUser) {
    WMHide();
    return true;
  }
  return TFormBase::event(event);
}

void TFormLogin::WMHide() { hide(); }

// ---- Edit boxes and check boxes --------------------------------------------------------

bool TFormLogin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txt_code || watched == txt_password) {
    auto* edit = static_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::FocusIn) txt_codeEnter(edit);
    if (event->type() == QEvent::FocusOut) txt_codeExit(edit);
  }
  return TFormBase::eventFilter(watched, event);
}

void TFormLogin::txt_codeEnter(QLineEdit* edit) { login::SetFocusLook(edit, true); }

void TFormLogin::txt_codeExit(QLineEdit* edit) { login::SetFocusLook(edit, false); }

void TFormLogin::cb_rememberClick() {
  if (!cb_remember->isChecked()) cb_autologin->setChecked(false);
}

void TFormLogin::cb_autologinClick() {
  if (cb_autologin->isChecked()) cb_remember->setChecked(true);
}

// ---- Buttons ---------------------------------------------------------------------------

void TFormLogin::AdvGlowButton1Click() {
  if (login::TrimBlanks(txt_code->text()).isEmpty()) {
    FormMsg->showInfo(kNotice, QStringLiteral("请输入登录帐号或手机号码!"), kConfirm);
    txt_code->setFocus();
    return;
  }
  if (login::TrimBlanks(txt_password->text()).isEmpty()) {
    FormMsg->showInfo(kNotice, QStringLiteral("请输入登录密码!"), kConfirm);
    txt_password->setFocus();
    return;
  }
  const Korvane::TMYResult result = Korvane::Verify(
      Korvane::VerifyMode::User, txt_code->text().toStdString(), txt_password->text().toStdString());
  if (result.success)
    signedIn();
  else
    showSignInFailure(result);
}

void TFormLogin::signedIn() {
  Config.user = txt_code->text().toStdString();
  Config.password.clear();
  Config.remember = cb_remember->isChecked();
  Config.autologin = cb_autologin->isChecked();
  if (cb_remember->isChecked()) Config.password = txt_password->text().toStdString();
  saveConfig(Config);

  if (Config.autologin)
    QCoreApplication::postEvent(this, new QEvent(kWmUser));
  else
    hide();

  const std::shared_ptr<Korvane::TCompany> company = Korvane::Company();
  if (company && !company->is_partner && !company->partner_identification.empty())
    FormMain->Label_title->setText(QString::fromStdString(company->partner_identification) +
                                   QStringLiteral(" - ") + FormMain->Label_title->text());
  FormMain->versionText = auAutoUpgrader->versionNumber();
  FormMain->show();
}

void TFormLogin::showSignInFailure(const Korvane::TMYResult& result) {
  if (result.code == "622") {
    login::ShowActivationNeeded(result);
    return;
  }
  login::ShowCallFailure(result, login::TNetworkText::N1, login::ServiceReport(result));
}

void TFormLogin::AdvGlowButton2Click() {
  platform::OpenUrl(Korvane::PortalBaseUrl() + "/password/reset/step1");
}

void TFormLogin::AdvGlowButton3Click() {
  if (FormRegist->exec() == mrOk) txt_code->setText(FormRegist->txt_account->text());
}
