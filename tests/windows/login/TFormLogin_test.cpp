// The login window against the development service (a child process on a free port) and,
// for the codes that service cannot give, a scripted loopback server: its controls, reading
// the saved settings at creation, signing in and what it saves and shows afterwards, signing
// in at start, the blank-entry messages, every failure code's box and after-action, the check
// box couplings, the focus colours, and the two page buttons.
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <memory>

#include "BoxAnswers.h"
#include "Korvane/AccountCalls.h"
#include "Korvane/CallLayer.h"
#include "Korvane/Deployment.h"
#include "Korvane/HttpClient.h"
#include "Korvane/Session.h"
#include "LoginTestSupport.h"
#include "QtTestMain.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "app/WindowSet.h"
#include "settings/Config.h"
#include "support/DevServiceProcess.h"
#include "support/LoopbackServer.h"
#include "uLogger/uLogger.h"
#include "windows/fleet/TFormMain.h"
#include "windows/login/TFormLogin.h"
#include "windows/login/TFormRegist.h"

using testsupport::CapturedRequest;
using testsupport::LoopbackServer;
using testsupport::Reply;

namespace {

const QString kFleetTitle = QStringLiteral("KorvaneVandrel - 物流行业位置服务领导者");

std::string Settings(const std::string& user, const std::string& password, bool remember,
                     bool autologin) {
  return "[KORVANE]\r\nuser=" + user + "\r\npassword=" + password +
         "\r\nremember=" + (remember ? "1" : "0") + "\r\nautologin=" + (autologin ? "1" : "0") +
         "\r\n";
}

std::string VerifyFailure(const std::string& code, const std::string& message) {
  return R"({"success":false,"error":{"code":")" + code + R"(","message":")" + message +
         R"("}})";
}

std::string VerifySuccess(bool partner, const std::string& identification) {
  return std::string(R"({"success":true,"result":{"company_name":"测试物流","account_balance":8.5,)"
                     R"("rebate":10,"register_contact_number":"13900000000","token":"T9",)"
                     R"("is_partner":)") +
         (partner ? "1" : "0") +
         R"(,"partner_name":"","partner_contact_number":"","partner_address":"",)"
         R"("partner_contact_person":"","partner_identification":")" +
         identification +
         R"(","current_city":"杭州市","seat_city":"杭州市",)"
         R"("membership_use_deadline":"9999-12-31 23:59:59"}})";
}

// The colour inside an edit box, left of any text.
QColor BoxColour(QLineEdit* edit) { return edit->grab().toImage().pixelColor(3, 12); }

void ResetFleetWindow() {
  FormMain->hide();
  FormMain->Label_title->setText(kFleetTitle);
  FormMain->versionText.clear();
}

}  // namespace

class TFormLoginTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void isTheDesignedWindow();
  void aFirstStartHasEmptyBoxesAndSignsInNothing();
  void creationReadsTheSavedSettings_data();
  void creationReadsTheSavedSettings();
  void signingInSavesTheSettingsAndShowsTheFleetWindow_data();
  void signingInSavesTheSettingsAndShowsTheFleetWindow();
  void theTitlePrefixNamesTheDealerOfANonPartner_data();
  void theTitlePrefixNamesTheDealerOfANonPartner();
  void automaticSignInAtStart_data();
  void automaticSignInAtStart();
  void blankEntriesAreRefusedBeforeAnyCall_data();
  void blankEntriesAreRefusedBeforeAnyCall();
  void enterPressesTheSignInButton();
  void eachFailureCodeHasItsBox_data();
  void eachFailureCodeHasItsBox();
  void failuresOfTheDevelopmentService_data();
  void failuresOfTheDevelopmentService();
  void theNetworkBoxOffersTheRepair_data();
  void theNetworkBoxOffersTheRepair();
  void theCheckBoxesPullEachOther();
  void focusTurnsABoxOrange();
  void forgotPasswordOpensTheResetPage();
  void registeringCopiesTheNewAccount_data();
  void registeringCopiesTheNewAccount();
  void closingFreesTheLogger();

 private:
  // A login window created now, from the settings file as it stands.
  std::unique_ptr<TFormLogin> newLoginWindow();
  // Signs in through the window's button with the given entries; the boxes it showed.
  QList<ShownBox> signIn(TFormLogin& login, const QString& account, const QString& password,
                         QList<int> answers = {});

  std::unique_ptr<testsupport::DevServiceProcess> service_;
  std::unique_ptr<LoopbackServer> loopback_;
  std::function<Reply(const CapturedRequest&)> reply_;
};

void TFormLoginTest::initTestCase() {
  // No update server answers: the update checks of the windows stay silent.
  Korvane::SetUpdateBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  logintest::InstallRecorder("xdg-open");
  logintest::InstallRecorder("resolvectl");
  service_ = std::make_unique<testsupport::DevServiceProcess>();
  loopback_ = std::make_unique<LoopbackServer>(
      [this](const CapturedRequest& request) { return reply_(request); });
  Korvane::SetApiBaseUrl(service_->baseUrl());
  Korvane::SetPortalBaseUrl(service_->baseUrl());
  CreateWindowSet(*TApplication::Instance());
}

void TFormLoginTest::init() {
  Korvane::SetApiBaseUrl(service_->baseUrl());
  Korvane::SetPortalBaseUrl(service_->baseUrl());
  Korvane::SetCompany(nullptr);
  logintest::RemoveSettings();
  logintest::ForgetCalls("xdg-open");
  logintest::ForgetCalls("resolvectl");
  reply_ = [](const CapturedRequest&) { return Reply::Status(500, "Internal Server Error"); };
}

void TFormLoginTest::cleanup() {
  Korvane::SetClock({});
  Korvane::Http::SetTimeouts({});
  ResetFleetWindow();
}

std::unique_ptr<TFormLogin> TFormLoginTest::newLoginWindow() {
  return std::make_unique<TFormLogin>();
}

QList<ShownBox> TFormLoginTest::signIn(TFormLogin& login, const QString& account,
                                       const QString& password, QList<int> answers) {
  BoxAnswers boxes(std::move(answers));
  login.txt_code->setText(account);
  login.txt_password->setText(password);
  QTest::mouseClick(login.AdvGlowButton1, Qt::LeftButton);
  return boxes.boxes();
}

void TFormLoginTest::isTheDesignedWindow() {
  auto login = newLoginWindow();
  QCOMPARE(login->windowTitle(), QStringLiteral("KorvaneVandrel"));
  QCOMPARE(login->Label_title->text(), QStringLiteral("KorvaneVandrel"));
  QCOMPARE(login->size(), QSize(290, 428));
  QCOMPARE(login->Panel_top->height(), 39);
  QVERIFY(!login->Img_min->isHidden());
  QVERIFY(!login->Panel_left->isHidden());
  QCOMPARE(login->Panel1->parentWidget(), login->Panel_main);
  QCOMPARE(login->Panel1->palette().color(QPalette::Window), QColor(0x97, 0xA3, 0x8D));
  QCOMPARE(login->font().pixelSize(), 16);
  QCOMPARE(login->Image1->pixmap().size(), QSize(290, 212));
  QCOMPARE(login->Image1->geometry().topLeft(), QPoint(0, 0));
  QCOMPARE(login->Image1->height(), 212);

  const struct {
    QWidget* control;
    QRect place;
  } places[] = {
      {login->txt_code, {88, 131, 153, 24}},       {login->txt_password, {88, 179, 153, 24}},
      {login->cb_remember, {88, 216, 75, 16}},     {login->cb_autologin, {166, 216, 75, 16}},
      {login->AdvGlowButton1, {104, 255, 49, 18}}, {login->AdvGlowButton2, {173, 255, 68, 18}},
      {login->AdvGlowButton3, {48, 255, 49, 18}},
  };
  for (const auto& place : places) QCOMPARE(place.control->geometry(), place.place);
  QCOMPARE(login->txt_code->toolTip(), QStringLiteral("可以输入登录帐号或手机号码"));
  QCOMPARE(login->txt_password->echoMode(), QLineEdit::Password);
  QCOMPARE(login->cb_remember->text(), QStringLiteral("记住密码"));
  QCOMPARE(login->cb_autologin->text(), QStringLiteral("自动登录"));
  QCOMPARE(login->AdvGlowButton1->text(), QStringLiteral("登录"));
  QCOMPARE(login->AdvGlowButton2->text(), QStringLiteral("忘记密码"));
  QCOMPARE(login->AdvGlowButton3->text(), QStringLiteral("注册"));
  QVERIFY(login->AdvGlowButton1->isDefault());

  // Tab order: the two boxes, the two check boxes, 登录, 忘记密码, 注册.
  QList<QWidget*> order{login->txt_code};
  for (QWidget* next = login->txt_code->nextInFocusChain(); order.size() < 7;
       next = next->nextInFocusChain())
    if (next->focusPolicy() & Qt::TabFocus) order.append(next);
  QCOMPARE(order, (QList<QWidget*>{login->txt_code, login->txt_password, login->cb_remember,
                                   login->cb_autologin, login->AdvGlowButton1,
                                   login->AdvGlowButton2, login->AdvGlowButton3}));

  const struct {
    QLabel* label;
    QPoint place;
    QString start;
  } labels[] = {{login->RzLabel2, {70, 299}, QString()},
                {login->RzLabel3, {64, 321}, QStringLiteral("客服电话：")},
                {login->RzLabel4, {78, 339}, QStringLiteral("客服QQ：")},
                {login->RzLabel5, {64, 357}, QStringLiteral("值班电话：")}};
  for (const auto& label : labels) {
    QCOMPARE(label.label->pos(), label.place);
    QVERIFY(label.label->text().startsWith(label.start));
    QVERIFY(label.label->text().size() > label.start.size() + 4);
    QCOMPARE(label.label->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(label.label->font().pixelSize(), 14);
  }
  QCOMPARE(login->auAutoUpgrader->versionNumber(), QStringLiteral("5.2.1.12"));
}

void TFormLoginTest::aFirstStartHasEmptyBoxesAndSignsInNothing() {
  const std::string shortcut = platform::DesktopDirectory() + "KorvaneVandrel - 传统版.desktop";
  platform::CreateDirectories(platform::DesktopDirectory());
  std::filesystem::remove(shortcut);
  auto login = newLoginWindow();
  QCOMPARE(login->txt_code->text(), QString());
  QCOMPARE(login->txt_password->text(), QString());
  QVERIFY(!login->cb_remember->isChecked());
  QVERIFY(!login->cb_autologin->isChecked());
  BoxAnswers boxes;
  login->show();
  QTest::qWait(200);
  QVERIFY(login->isVisible());
  QVERIFY(!FormMain->isVisible());
  QCOMPARE(boxes.boxes().size(), 0);
  QVERIFY(!Korvane::Company());
  // Creation put the shortcut on the desktop and made the logger.
  QVERIFY(platform::FileExists(shortcut));
  QVERIFY(Logger != nullptr);
}

void TFormLoginTest::creationReadsTheSavedSettings_data() {
  QTest::addColumn<QString>("settings");
  QTest::addColumn<QString>("account");
  QTest::addColumn<QString>("password");
  QTest::addColumn<bool>("remember");
  QTest::addColumn<bool>("autologin");
  QTest::newRow("remembered") << QString::fromStdString(Settings("demo", "pw1", true, false))
                              << "demo" << "pw1" << true << false;
  QTest::newRow("a password kept without remember is not shown")
      << QString::fromStdString(Settings("demo", "pw1", false, false)) << "demo" << "" << false
      << false;
  QTest::newRow("automatic sign-in checks remember too")
      << QString::fromStdString(Settings("13800138000", "", false, true)) << "13800138000" << ""
      << true << true;
  QTest::newRow("no settings section") << "[GRID]\r\nfontsize=12\r\n" << "" << "" << false
                                       << false;
}

void TFormLoginTest::creationReadsTheSavedSettings() {
  QFETCH(QString, settings);
  QFETCH(QString, account);
  QFETCH(QString, password);
  QFETCH(bool, remember);
  QFETCH(bool, autologin);
  logintest::WriteSettings(settings.toStdString());
  auto login = newLoginWindow();
  QCOMPARE(login->txt_code->text(), account);
  QCOMPARE(login->txt_password->text(), password);
  QCOMPARE(login->cb_remember->isChecked(), remember);
  QCOMPARE(login->cb_autologin->isChecked(), autologin);
  // Creation reads; it writes nothing.
  QCOMPARE(logintest::SettingsBytes(), std::optional<std::string>(settings.toStdString()));
}

void TFormLoginTest::signingInSavesTheSettingsAndShowsTheFleetWindow_data() {
  QTest::addColumn<bool>("remember");
  QTest::addColumn<bool>("autologin");
  QTest::addColumn<QString>("savedPassword");
  QTest::newRow("remember the password") << true << false << "demo1234";
  QTest::newRow("forget the password") << false << false << "";
  QTest::newRow("sign in automatically") << true << true << "demo1234";
}

void TFormLoginTest::signingInSavesTheSettingsAndShowsTheFleetWindow() {
  QFETCH(bool, remember);
  QFETCH(bool, autologin);
  QFETCH(QString, savedPassword);
  // A password saved before is erased when "记住密码" is off now.
  logintest::WriteSettings(Settings("demo", "old-password", true, false));
  auto login = newLoginWindow();
  login->show();
  QVERIFY(QTest::qWaitForWindowExposed(login.get()));
  login->cb_remember->setChecked(remember);
  login->cb_autologin->setChecked(autologin);
  BoxAnswers unrelated;  // whatever the fleet window itself may ask
  login->txt_code->setText(QStringLiteral("demo"));
  login->txt_password->setText(QStringLiteral("demo1234"));
  QTest::mouseClick(login->AdvGlowButton1, Qt::LeftButton);

  // With automatic sign-in the window hides through the posted message, later.
  QCOMPARE(login->isVisible(), autologin);
  QTRY_VERIFY(!login->isVisible());
  QVERIFY(FormMain->isVisible());
  QCOMPARE(FormMain->versionText, QStringLiteral("5.2.1.12"));
  QCOMPARE(Korvane::Company()->login_name, std::string("demo"));

  const TConfig saved = loadConfig();
  QCOMPARE(saved.user, std::string("demo"));
  QCOMPARE(QString::fromStdString(saved.password), savedPassword);
  QCOMPARE(saved.remember, remember);
  QCOMPARE(saved.autologin, autologin);
  const std::string bytes = logintest::SettingsBytes().value();
  QCOMPARE(bytes.find("old-password"), std::string::npos);
}

void TFormLoginTest::theTitlePrefixNamesTheDealerOfANonPartner_data() {
  QTest::addColumn<bool>("development");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("title");
  QTest::newRow("the demo company's dealer")
      << true << "" << QStringLiteral("远通车联 - ") + kFleetTitle;
  QTest::newRow("a partner keeps the title")
      << false << QString::fromStdString(VerifySuccess(true, "联运")) << kFleetTitle;
  QTest::newRow("no dealer identification")
      << false << QString::fromStdString(VerifySuccess(false, "")) << kFleetTitle;
  QTest::newRow("a non-partner's dealer")
      << false << QString::fromStdString(VerifySuccess(false, "联运")) << "联运 - " + kFleetTitle;
}

void TFormLoginTest::theTitlePrefixNamesTheDealerOfANonPartner() {
  QFETCH(bool, development);
  QFETCH(QString, answer);
  QFETCH(QString, title);
  if (!development) {
    Korvane::SetApiBaseUrl(loopback_->baseUrl());
    reply_ = [answer](const CapturedRequest& request) {
      if (request.target.rfind("/user/verify", 0) == 0) return Reply::Json(answer.toStdString());
      if (request.target.rfind("/car/list", 0) == 0)
        return Reply::Json(R"({"success":true,"result":{"total_results":0}})");
      return Reply::Json(R"({"success":true,"result":{}})");
    };
  }
  auto login = newLoginWindow();
  login->show();
  signIn(*login, QStringLiteral("demo"), QStringLiteral("demo1234"));
  QTRY_VERIFY(FormMain->isVisible());
  QCOMPARE(FormMain->Label_title->text(), title);
}

void TFormLoginTest::automaticSignInAtStart_data() {
  QTest::addColumn<QString>("password");
  QTest::addColumn<bool>("signsIn");
  QTest::newRow("a valid saved password") << "demo1234" << true;
  QTest::newRow("a wrong saved password") << "wrong-pw" << false;
}

void TFormLoginTest::automaticSignInAtStart() {
  QFETCH(QString, password);
  QFETCH(bool, signsIn);
  logintest::WriteSettings(Settings("demo", password.toStdString(), true, true));
  auto login = newLoginWindow();
  BoxAnswers boxes;
  login->show();
  if (signsIn) {
    QTRY_VERIFY(FormMain->isVisible());
    QTRY_VERIFY(!login->isVisible());
    QCOMPARE(boxes.boxes().size(), 0);
  } else {
    QTRY_COMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes()[0].caption, QStringLiteral("错误"));
    QVERIFY(boxes.boxes()[0].text.endsWith(QStringLiteral("\n\n[代码:602]")));
    QVERIFY(login->isVisible());
    QVERIFY(!FormMain->isVisible());
    // The account is filled, so the focus went to the password.
    QCOMPARE(login->focusWidget(), login->txt_password);
  }
}

void TFormLoginTest::blankEntriesAreRefusedBeforeAnyCall_data() {
  QTest::addColumn<QString>("account");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("focus");
  QTest::newRow("no account") << "" << "demo1234" << "请输入登录帐号或手机号码!" << "txt_code";
  QTest::newRow("an account of spaces") << "   " << "demo1234" << "请输入登录帐号或手机号码!"
                                        << "txt_code";
  QTest::newRow("an account of a tab") << "\t" << "" << "请输入登录帐号或手机号码!"
                                       << "txt_code";
  QTest::newRow("no password") << "demo" << "" << "请输入登录密码!" << "txt_password";
  QTest::newRow("a password of spaces") << "demo" << "  " << "请输入登录密码!" << "txt_password";
}

void TFormLoginTest::blankEntriesAreRefusedBeforeAnyCall() {
  QFETCH(QString, account);
  QFETCH(QString, password);
  QFETCH(QString, text);
  QFETCH(QString, focus);
  Korvane::SetApiBaseUrl(loopback_->baseUrl());
  const auto before = loopback_->requests().size();
  auto login = newLoginWindow();
  login->show();
  const QList<ShownBox> boxes = signIn(*login, account, password);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].caption, QStringLiteral("提示"));
  QCOMPARE(boxes[0].text, text);
  QCOMPARE(boxes[0].button, QStringLiteral("确认"));
  QCOMPARE(login->focusWidget()->objectName(), focus);
  QCOMPARE(loopback_->requests().size(), before);
}

void TFormLoginTest::enterPressesTheSignInButton() {
  auto login = newLoginWindow();
  login->show();
  QApplication::setActiveWindow(login.get());
  QVERIFY(QTest::qWaitForWindowActive(login.get()));
  login->txt_code->setText(QStringLiteral("demo"));
  login->txt_password->setFocus();
  BoxAnswers boxes;
  QTest::keyClick(login->txt_password, Qt::Key_Return);
  QCOMPARE(boxes.boxes().size(), 1);
  QCOMPARE(boxes.boxes()[0].text, QStringLiteral("请输入登录密码!"));
  QTest::keyClicks(login->txt_password, QStringLiteral("demo1234"));
  QTest::keyClick(login->txt_password, Qt::Key_Enter);
  QTRY_VERIFY(FormMain->isVisible());
  QVERIFY(!login->isVisible());
}

void TFormLoginTest::eachFailureCodeHasItsBox_data() {
  QTest::addColumn<QString>("reply");  // a verify answer, or "500" or "hang"
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("opensActivation");
  QTest::newRow("000") << "500" << int(TFormBase::mrOk) << "提示"
                       << "网络连接失败\r\n\r\n[代码:000]\r\n\r\n请检查本机网络连接是否正常!\r\n"
                          "或者请联系客服协助解决!"
                       << false;
  QTest::newRow("102") << QString::fromStdString(VerifyFailure("102", "请求已过期"))
                       << int(TFormBase::mrOk) << "提示"
                       << "请求已过期\r\n\r\n[代码:102]\r\n\r\n请检查本机系统时间是否正确!"
                       << false;
  QTest::newRow("622") << QString::fromStdString(VerifyFailure("622", "帐号未激活"))
                       << int(TFormBase::mrOk) << "提示"
                       << "帐号未激活\r\n\r\n[代码:622]\r\n\r\n点击确认立即进行激活操作!" << true;
  QTest::newRow("622, box closed") << QString::fromStdString(VerifyFailure("622", "帐号未激活"))
                                   << int(TFormBase::mrCancel) << "提示"
                                   << "帐号未激活\r\n\r\n[代码:622]\r\n\r\n点击确认立即进行激活操作!"
                                   << true;
  QTest::newRow("001") << "hang" << int(TFormBase::mrOk) << "提示"
                       << "登录超时\r\n\r\n[代码:001]\r\n\r\n请检查本机网络连接后再次尝试!"
                       << false;
  QTest::newRow("107 without the message")
      << QString::fromStdString(VerifyFailure("107", "会话超时")) << int(TFormBase::mrOk)
      << "提示" << "登录超时\r\n\r\n[代码:107]\r\n\r\n请检查本机网络连接后再次尝试!" << false;
  QTest::newRow("another code") << QString::fromStdString(VerifyFailure("601", "帐号不存在"))
                                << int(TFormBase::mrOk) << "错误"
                                << "帐号不存在\r\n\r\n[代码:601]" << false;
}

void TFormLoginTest::eachFailureCodeHasItsBox() {
  QFETCH(QString, reply);
  QFETCH(int, answer);
  QFETCH(QString, caption);
  QFETCH(QString, text);
  QFETCH(bool, opensActivation);
  Korvane::SetApiBaseUrl(loopback_->baseUrl());
  Korvane::Http::SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
  reply_ = [reply](const CapturedRequest&) {
    if (reply == QStringLiteral("500")) return Reply::Status(500, "Internal Server Error");
    if (reply == QStringLiteral("hang")) return Reply::Hang();
    return Reply::Json(reply.toStdString());
  };
  const std::string settings = Settings("before", "saved", true, false);
  logintest::WriteSettings(settings);
  auto login = newLoginWindow();
  login->show();
  const QList<ShownBox> boxes =
      signIn(*login, QStringLiteral(" demo "), QStringLiteral(" pass word "), {answer});
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].caption, caption);
  QCOMPARE(boxes[0].text, AsShown(text));
  QCOMPARE(boxes[0].button, QStringLiteral("确认"));
  QVERIFY(!boxes[0].withCancel);

  // Window, entries and settings stay as they were.
  QVERIFY(login->isVisible());
  QVERIFY(!FormMain->isVisible());
  QCOMPARE(login->txt_code->text(), QStringLiteral(" demo "));
  QCOMPARE(login->txt_password->text(), QStringLiteral(" pass word "));
  QCOMPARE(logintest::SettingsBytes(), std::optional<std::string>(settings));

  const QStringList activation{QString::fromStdString(Korvane::PortalBaseUrl()) +
                               QStringLiteral("/v2/#login")};
  if (opensActivation)
    QTRY_COMPARE(logintest::RecordedCalls("xdg-open"), activation);
  else
    QCOMPARE(logintest::RecordedCalls("xdg-open"), QStringList());
}

void TFormLoginTest::failuresOfTheDevelopmentService_data() {
  QTest::addColumn<QString>("account");
  QTest::addColumn<QString>("password");
  QTest::addColumn<int>("clockOffset");  // seconds the client's clock is off
  QTest::addColumn<QString>("code");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("hint");
  QTest::newRow("wrong password") << "demo" << "wrong" << 0 << "602" << "错误" << "";
  QTest::newRow("unknown account") << "nobody" << "whatever" << 0 << "601" << "错误" << "";
  QTest::newRow("the clock is off") << "demo" << "demo1234" << 7200 << "102" << "提示"
                                    << "\r\n\r\n请检查本机系统时间是否正确!";
}

void TFormLoginTest::failuresOfTheDevelopmentService() {
  QFETCH(QString, account);
  QFETCH(QString, password);
  QFETCH(int, clockOffset);
  QFETCH(QString, code);
  QFETCH(QString, caption);
  QFETCH(QString, hint);
  Korvane::SetClock([clockOffset] {
    return std::chrono::system_clock::now() + std::chrono::seconds(clockOffset);
  });
  // The service's own message, as the call gives it.
  const Korvane::TMYResult expected = Korvane::Verify(Korvane::VerifyMode::User,
                                                      account.toStdString(), password.toStdString());
  QCOMPARE(QString::fromStdString(expected.code), code);
  auto login = newLoginWindow();
  login->show();
  const QList<ShownBox> boxes = signIn(*login, account, password);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].caption, caption);
  QCOMPARE(boxes[0].text, AsShown(QString::fromStdString(expected.message) +
                                  QStringLiteral("\r\n\r\n[代码:") + code + QStringLiteral("]") +
                                  hint));
  QVERIFY(login->isVisible());
  QVERIFY(!logintest::SettingsBytes());
}

void TFormLoginTest::theNetworkBoxOffersTheRepair_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("repaired");
  QTest::newRow("尝试修复") << int(TFormBase::mrOk) << true;
  QTest::newRow("closed") << int(TFormBase::mrCancel) << false;
}

void TFormLoginTest::theNetworkBoxOffersTheRepair() {
  QFETCH(int, answer);
  QFETCH(bool, repaired);
  // Nothing listens on the port: a socket-level failure, "002".
  Korvane::SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  auto login = newLoginWindow();
  login->show();
  const QList<ShownBox> boxes =
      signIn(*login, QStringLiteral("demo"), QStringLiteral("demo1234"), {answer});
  QCOMPARE(boxes.size(), repaired ? 2 : 1);
  QCOMPARE(boxes[0].caption, QStringLiteral("提示"));
  QCOMPARE(boxes[0].button, QStringLiteral("尝试修复"));
  QCOMPARE(boxes[0].text, AsShown(QStringLiteral(
                              "暂时无法使用Vandrel服务!\r\n\r\n请先检查并确认以下情况:\r\n\r\n"
                              "1.其他网站能否正常访问\r\n2.360等防火墙是否误设置拦截\r\n"
                              "3.DNS服务器是否设置正确\r\n\r\n如果这个问题已经多次出现\r\n"
                              "请点击下面的按钮")));
  QCOMPARE(logintest::RecordedCalls("resolvectl"),
           repaired ? QStringList{QStringLiteral("flush-caches")} : QStringList());
  if (repaired) {
    QCOMPARE(boxes[1].caption, QStringLiteral("提示"));
    QCOMPARE(boxes[1].button, QStringLiteral("确认"));
    QCOMPARE(boxes[1].text,
             AsShown(QStringLiteral("故障修复操作完成!\r\n\r\n请尝试重新执行之前的操作\r\n"
                                    "如果问题依然存在\r\n请在重启电脑后再次尝试\r\n"
                                    "或者请联系客服协助解决!")));
  }
  QVERIFY(login->isVisible());
}

void TFormLoginTest::theCheckBoxesPullEachOther() {
  auto login = newLoginWindow();
  login->show();
  QVERIFY(QTest::qWaitForWindowExposed(login.get()));
  const QPoint box(6, 8);
  QTest::mouseClick(login->cb_autologin, Qt::LeftButton, {}, box);
  QVERIFY(login->cb_autologin->isChecked());
  QVERIFY(login->cb_remember->isChecked());
  QTest::mouseClick(login->cb_autologin, Qt::LeftButton, {}, box);
  QVERIFY(!login->cb_autologin->isChecked());
  QVERIFY(login->cb_remember->isChecked());
  QTest::mouseClick(login->cb_autologin, Qt::LeftButton, {}, box);
  QTest::mouseClick(login->cb_remember, Qt::LeftButton, {}, box);
  QVERIFY(!login->cb_remember->isChecked());
  QVERIFY(!login->cb_autologin->isChecked());
  QTest::mouseClick(login->cb_remember, Qt::LeftButton, {}, box);
  QVERIFY(login->cb_remember->isChecked());
  QVERIFY(!login->cb_autologin->isChecked());
}

void TFormLoginTest::focusTurnsABoxOrange() {
  auto login = newLoginWindow();
  login->show();
  QApplication::setActiveWindow(login.get());
  QVERIFY(QTest::qWaitForWindowActive(login.get()));
  const QColor orange(0xE3, 0x52, 0x1F);
  login->txt_code->setFocus();
  QTRY_COMPARE(BoxColour(login->txt_code), orange);
  QCOMPARE(BoxColour(login->txt_password), QColor(Qt::white));
  login->txt_code->setText(QStringLiteral("demo"));
  QCOMPARE(login->txt_code->palette().color(QPalette::Text), QColor(Qt::white));
  login->txt_password->setFocus();
  QTRY_COMPARE(BoxColour(login->txt_password), orange);
  QCOMPARE(BoxColour(login->txt_code), QColor(Qt::white));
  QCOMPARE(login->txt_code->palette().color(QPalette::Text), QColor(Qt::black));
}

void TFormLoginTest::forgotPasswordOpensTheResetPage() {
  Korvane::SetPortalBaseUrl("http://portal.test");
  auto login = newLoginWindow();
  login->show();
  QTest::mouseClick(login->AdvGlowButton2, Qt::LeftButton);
  QTRY_COMPARE(logintest::RecordedCalls("xdg-open"),
               QStringList{QStringLiteral("http://portal.test/password/reset/step1")});
  QVERIFY(login->isVisible());
}

void TFormLoginTest::registeringCopiesTheNewAccount_data() {
  QTest::addColumn<int>("result");
  QTest::addColumn<QString>("account");
  QTest::newRow("registered") << int(TFormBase::mrOk) << "newcompany";
  QTest::newRow("cancelled") << int(TFormBase::mrCancel) << "before";
}

void TFormLoginTest::registeringCopiesTheNewAccount() {
  QFETCH(int, result);
  QFETCH(QString, account);
  auto login = newLoginWindow();
  login->show();
  login->txt_code->setText(QStringLiteral("before"));
  bool shownModally = false;
  QTimer::singleShot(0, FormRegist, [&] {
    QTRY_VERIFY(FormRegist->isVisible());
    shownModally = FormRegist->isModal() || QApplication::activeModalWidget() == FormRegist;
    FormRegist->txt_account->setText(QStringLiteral("newcompany"));
    FormRegist->done(result);
  });
  QTest::mouseClick(login->AdvGlowButton3, Qt::LeftButton);
  QVERIFY(shownModally);
  QVERIFY(!FormRegist->isVisible());
  QCOMPARE(login->txt_code->text(), account);
}

void TFormLoginTest::closingFreesTheLogger() {
  auto login = newLoginWindow();
  QVERIFY(Logger != nullptr);
  login->show();
  QTest::mouseClick(login->Img_close, Qt::LeftButton, {}, QPoint(5, 5));
  QTRY_VERIFY(!login->isVisible());
  QVERIFY(Logger == nullptr);
}

VANDREL_QTEST_MAIN(TFormLoginTest)
#include "TFormLogin_test.moc"
