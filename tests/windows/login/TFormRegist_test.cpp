// The registration window: its layout, the access session at every showing and its failure
// boxes, the key filters, the seat city through the area picker, the verification code with
// its boxes, the twelve checks in their order, the registration's failure boxes, and the whole
// road against the development service: register, read the code, sign in with the new account.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "BoxAnswers.h"
#include "Korvane/AccountCalls.h"
#include "Korvane/Deployment.h"
#include "Korvane/HttpClient.h"
#include "Korvane/Session.h"
#include "LoginTestSupport.h"
#include "QtTestMain.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "app/WindowSet.h"
#include "support/DevServiceProcess.h"
#include "support/LoopbackServer.h"
#include "windows/editor/TFormArea.h"
#include "windows/fleet/TFormMain.h"
#include "windows/login/TFormLogin.h"
#include "windows/login/TFormRegist.h"

using testsupport::CapturedRequest;
using testsupport::LoopbackServer;
using testsupport::Reply;

namespace {

const char* const kAccessAnswer =
    R"({"success":true,"result":{"company_name":"","account_balance":0,"rebate":0,)"
    R"("register_contact_number":"","token":"ACCESS1","is_partner":0,"partner_name":"",)"
    R"("partner_contact_number":"","partner_address":"","partner_contact_person":"",)"
    R"("partner_identification":"","current_city":"","seat_city":"",)"
    R"("membership_use_deadline":""}})";

std::string Failure(const std::string& code, const std::string& message) {
  return R"({"success":false,"error":{"code":")" + code + R"(","message":")" + message +
         R"("}})";
}

// A valid set of entries; a case changes some of them.
struct Entries {
  QString account = QStringLiteral("newco_1");
  QString password = QStringLiteral("Abc12345");
  QString repassword = QStringLiteral("Abc12345");
  QString company = QStringLiteral("杭州新货运有限公司");
  QString seat = QStringLiteral("杭州市");
  QString seatCode = QStringLiteral("330100");
  QString mobile = QStringLiteral("13912345678");
  QString verify = QStringLiteral("123456");
};

void Fill(TFormRegist& form, const Entries& entries) {
  form.txt_account->setText(entries.account);
  form.txt_password->setText(entries.password);
  form.txt_repassword->setText(entries.repassword);
  form.txt_company->setText(entries.company);
  form.txt_seat->setText(entries.seat);
  form.txt_seat->setHiddenValue(entries.seatCode);
  form.txt_mobile->setText(entries.mobile);
  form.txt_verify->setText(entries.verify);
}

QString BoxLine(const ShownBox& box) { return box.caption + QLatin1Char('|') + box.text; }

QStringList BoxLines(const QList<ShownBox>& boxes) {
  QStringList lines;
  for (const ShownBox& box : boxes) lines.append(BoxLine(box));
  return lines;
}

QString Expected(const QString& caption, const QString& text) {
  return caption + QLatin1Char('|') + AsShown(text);
}

// Types the text key by key, as the keyboard (or an input method for other scripts) does.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(widget, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// The area picker on screen (the modal window of the moment).
TFormArea* ShownPicker() {
  return qobject_cast<TFormArea*>(QApplication::activeModalWidget());
}

// Ticks a node of the picker with the mouse.
void Tick(TFormArea& picker, const QString& name) {
  QTreeWidgetItem* node = picker.findNode(name);
  for (QTreeWidgetItem* parent = node->parent(); parent != nullptr; parent = parent->parent())
    parent->setExpanded(true);
  picker.tree->scrollToItem(node);
  const QPoint at = picker.checkBoxRect(node).center();
  QTest::mousePress(picker.tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(picker.tree->viewport(), Qt::LeftButton, {}, at);
}

// Runs `step` inside the next modal loop, as soon as `window` is on screen; whatever
// happens, the window is closed afterwards so that the test goes on.
void WhenModal(QWidget* window, std::function<void()> step) {
  QTimer::singleShot(0, window, [window, step] {
    QTRY_VERIFY(window->isVisible());
    QTest::qWait(50);  // the window's own show handler runs first
    step();
    if (auto* form = qobject_cast<TFormBase*>(window); form != nullptr && form->isVisible())
      form->done(TFormBase::mrCancel);
  });
}

const QString kN1 = QStringLiteral(
    "暂时无法使用Vandrel服务!\r\n\r\n请先检查并确认以下情况:\r\n\r\n1.其他网站能否正常访问\r\n"
    "2.360等防火墙是否误设置拦截\r\n3.DNS服务器是否设置正确\r\n\r\n如果这个问题已经多次出现\r\n"
    "请点击下面的按钮");
const QString kN2 = QStringLiteral(
    "暂时无法使用Vandrel服务!\r\n\r\n请先检查并确认以下情况:\r\n\r\n1.其他网站能否正常访问\r\n"
    "2.360等防火墙是否误设置拦截\r\n\r\n如果这个问题已经多次出现\r\n请点击下面的按钮");
const QString kRepairDone = QStringLiteral(
    "故障修复操作完成!\r\n\r\n请尝试重新执行之前的操作\r\n如果问题依然存在\r\n"
    "请在重启电脑后再次尝试\r\n或者请联系客服协助解决!");
const QString kCaptchaSent = QStringLiteral(
    "验证码已发送至您手机,请注意查收!\r\n\r\n如果长时间未收到请检查短信拦截设置!\r\n"
    "或者请联系客服协助解决!");
const QString kWeakPassword = QStringLiteral(
    "密码过于简单,存在安全隐患!\r\n建议不要使用以下形式的密码:\r\n"
    "123456,888888,aabbcc,全数字或字母\r\n\r\n点击确认直接注册\r\n点击取消立即修改");

// The failure boxes every call of the window shares; `network` is the window's network text
// for the call, `extra` what "another code" adds to the service report.
void AddSharedFailureRows(const QString& path, const QString& network) {
  QTest::newRow("000") << path << "500"  << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "网络连接失败\r\n\r\n[代码:000]\r\n\r\n"
                                               "请检查本机网络连接是否正常!\r\n"
                                               "或者请联系客服协助解决!")}
                       << false;
  QTest::newRow("102") << path << QString::fromStdString(Failure("102", "请求已过期"))
                        << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "请求已过期\r\n\r\n[代码:102]\r\n\r\n"
                                               "请检查本机系统时间是否正确!")}
                       << false;
  QTest::newRow("001") << path << "hang"  << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "登录超时\r\n\r\n[代码:001]\r\n\r\n"
                                               "请检查本机网络连接后再次尝试!")}
                       << false;
  QTest::newRow("107") << path << QString::fromStdString(Failure("107", "超时"))
                        << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "登录超时\r\n\r\n[代码:107]\r\n\r\n"
                                               "请检查本机网络连接后再次尝试!")}
                       << false;
  QTest::newRow("002, repaired") << path << "refused"  << int(TFormBase::mrOk)
                                 << QStringList{Expected("提示", network),
                                                Expected("提示", kRepairDone)}
                                 << false;
  QTest::newRow("002, closed") << path << "refused"  << int(TFormBase::mrCancel)
                               << QStringList{Expected("提示", network)} << false;
}

}  // namespace

Q_DECLARE_METATYPE(Entries)

class TFormRegistTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void isTheDesignedWindow();
  void everyShowingOpensAnAccessSession();
  void accessSessionFailures_data();
  void accessSessionFailures();
  void focusColoursEveryBox();
  void keyFiltersDropWhatTheyRefuse_data();
  void keyFiltersDropWhatTheyRefuse();
  void pastingIsNotFiltered();
  void theSeatComesFromASingleCityPicker();
  void closingThePickerWithoutOkKeepsTheSeat();
  void clearingTheSeat();
  void verificationCodeRequest_data();
  void verificationCodeRequest();
  void anEmptyMobileAsksForNoCode();
  void checksInTheirOrder_data();
  void checksInTheirOrder();
  void registrationFailures_data();
  void registrationFailures();
  void registerThenSignInWithTheNewAccount();

 private:
  // Shows the registration window without waiting (its access session is opened at once).
  void showForm();
  // Points the window at the loopback server with the given answers for the two calls.
  void useLoopback(const std::string& captchaPath, const QString& reply);

  std::unique_ptr<testsupport::DevServiceProcess> service_;
  std::unique_ptr<LoopbackServer> loopback_;
  std::function<Reply(const CapturedRequest&)> reply_;
};

void TFormRegistTest::initTestCase() {
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

void TFormRegistTest::init() {
  Korvane::SetApiBaseUrl(service_->baseUrl());
  Korvane::SetPortalBaseUrl(service_->baseUrl());
  Korvane::SetCompany(nullptr);
  logintest::ForgetCalls("xdg-open");
  logintest::ForgetCalls("resolvectl");
  reply_ = [](const CapturedRequest& request) {
    if (request.target.rfind("/user/verify", 0) == 0) return Reply::Json(kAccessAnswer);
    return Reply::Status(500, "Internal Server Error");
  };
  Fill(*FormRegist, Entries());
}

void TFormRegistTest::cleanup() {
  Korvane::Http::SetTimeouts({});
  if (FormRegist->isVisible()) FormRegist->done(TFormBase::mrCancel);
  FormMain->hide();
}

void TFormRegistTest::showForm() {
  FormRegist->show();
  QVERIFY(QTest::qWaitForWindowExposed(FormRegist));
  QTest::qWait(20);  // the access session of the showing
}

void TFormRegistTest::useLoopback(const std::string& path, const QString& reply) {
  Korvane::SetApiBaseUrl(loopback_->baseUrl());
  Korvane::Http::SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
  reply_ = [path, reply](const CapturedRequest& request) {
    if (request.target.rfind(path, 0) == 0) {
      if (reply == QStringLiteral("500")) return Reply::Status(500, "Internal Server Error");
      if (reply == QStringLiteral("hang")) return Reply::Hang();
      return Reply::Json(reply.toStdString());
    }
    if (request.target.rfind("/user/verify", 0) == 0) return Reply::Json(kAccessAnswer);
    return Reply::Status(500, "Internal Server Error");
  };
}

void TFormRegistTest::isTheDesignedWindow() {
  TFormRegist& form = *FormRegist;
  QCOMPARE(form.windowTitle(), QStringLiteral("用户注册"));
  QCOMPARE(form.size(), QSize(357, 319));
  QCOMPARE(form.Panel_top->height(), 29);
  QVERIFY(form.Img_min->isHidden());
  QCOMPARE(form.Panel1->parentWidget(), form.Panel_main);
  QCOMPARE(form.Panel1->palette().color(QPalette::Window), QColor(0xD5, 0xDB, 0xCD));

  const struct {
    QLineEdit* edit;
    int top;
    const char* label;
  } rows[] = {{form.txt_account, 24, "登录帐号:"}, {form.txt_password, 56, "登录密码:"},
              {form.txt_repassword, 88, "确认密码:"}, {form.txt_company, 120, "公司名称:"},
              {form.txt_seat, 152, "所 在 地:"},   {form.txt_mobile, 184, "手机号码:"},
              {form.txt_verify, 216, "验 证 码:"}};
  QList<QLabel*> labels = form.Panel1->findChildren<QLabel*>();
  const auto labelAt = [&](const QString& text, int left, int top) {
    for (QLabel* label : labels)
      if (label->text() == text && label->x() == left && label->y() >= top &&
          label->y() < top + 21)
        return label;
    return static_cast<QLabel*>(nullptr);
  };
  for (const auto& row : rows) {
    QCOMPARE(row.edit->geometry(), QRect(88, row.top, 153, 21));
    QLabel* label = labelAt(QString::fromUtf8(row.label), 16, row.top);
    QVERIFY2(label != nullptr, row.label);
    QCOMPARE(label->font().pixelSize(), 14);
    QLabel* mark = labelAt(QStringLiteral("*"), 244, row.top);
    QVERIFY2(mark != nullptr, row.label);
    QCOMPARE(mark->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(mark->font().bold());
  }
  QVERIFY(labelAt(QStringLiteral("昵称"), 254, 24) != nullptr);
  QCOMPARE(form.txt_password->echoMode(), QLineEdit::Password);
  QCOMPARE(form.txt_repassword->echoMode(), QLineEdit::Password);
  QVERIFY(form.txt_seat->isReadOnly());
  QCOMPARE(form.txt_mobile->maxLength(), 11);

  const struct {
    TGlowButton* button;
    const char* caption;
    QRect place;
  } buttons[] = {{form.btn_seat_choose, "选择", {254, 152, 38, 21}},
                 {form.btn_seat_del, "清除", {297, 152, 38, 21}},
                 {form.AdvGlowButton3, "获取验证码", {254, 216, 81, 21}},
                 {form.AdvGlowButton1, "注册", {120, 248, 52, 20}},
                 {form.AdvGlowButton2, "取消", {184, 247, 52, 21}}};
  for (const auto& button : buttons) {
    QCOMPARE(button.button->text(), QString::fromUtf8(button.caption));
    QCOMPARE(button.button->geometry(), button.place);
  }
  QList<QWidget*> order{form.txt_account};
  for (QWidget* next = form.txt_account->nextInFocusChain(); order.size() < 12;
       next = next->nextInFocusChain())
    if (next->focusPolicy() & Qt::TabFocus) order.append(next);
  QCOMPARE(order, (QList<QWidget*>{form.txt_account, form.txt_password, form.txt_repassword,
                                   form.txt_company, form.txt_seat, form.txt_mobile,
                                   form.txt_verify, form.AdvGlowButton1, form.AdvGlowButton3,
                                   form.AdvGlowButton2, form.btn_seat_choose,
                                   form.btn_seat_del}));
}

void TFormRegistTest::everyShowingOpensAnAccessSession() {
  std::string tokens[2];
  for (std::string& token : tokens) {
    WhenModal(FormRegist, [] {
      QTRY_VERIFY(Korvane::Company() != nullptr);
      FormRegist->done(TFormBase::mrCancel);
    });
    BoxAnswers boxes;
    QCOMPARE(FormRegist->exec(), int(TFormBase::mrCancel));
    QCOMPARE(boxes.boxes().size(), 0);
    const auto company = Korvane::Company();
    QVERIFY(company != nullptr);
    QVERIFY(!company->token.empty());
    QCOMPARE(company->login_name, std::string());
    token = company->token;
    Korvane::SetCompany(nullptr);
  }
  QVERIFY(tokens[0] != tokens[1]);
  // The entries survive from one showing to the next.
  QCOMPARE(FormRegist->txt_account->text(), QStringLiteral("newco_1"));
  QCOMPARE(FormRegist->txt_seat->hiddenValue(), QStringLiteral("330100"));
}

void TFormRegistTest::accessSessionFailures_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("reply");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<bool>("opensActivation");
  AddSharedFailureRows(QStringLiteral("/user/verify"), kN2);
  QTest::newRow("another code") << "/user/verify"
                                << QString::fromStdString(Failure("603", "无效的登录方式"))
                                 << int(TFormBase::mrOk)
                                << QStringList{Expected("错误", "无效的登录方式\r\n\r\n[代码:603]")}
                                << false;
}

void TFormRegistTest::accessSessionFailures() {
  QFETCH(QString, path);
  QFETCH(QString, reply);
  QFETCH(int, answer);
  QFETCH(QStringList, boxes);
  useLoopback(path.toStdString(), reply);
  if (reply == QStringLiteral("refused"))
    Korvane::SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  BoxAnswers answers({answer});
  showForm();
  QTRY_COMPARE(answers.boxes().size(), boxes.size());
  QTest::qWait(20);
  QCOMPARE(BoxLines(answers.boxes()), boxes);
  QCOMPARE(answers.boxes()[0].button,
           reply == QStringLiteral("refused") ? QStringLiteral("尝试修复") : QStringLiteral("确认"));
  QCOMPARE(logintest::RecordedCalls("resolvectl").size(), boxes.size() == 2 ? 1 : 0);
  // The window stays open with its entries.
  QVERIFY(FormRegist->isVisible());
  QCOMPARE(FormRegist->txt_company->text(), Entries().company);
}

void TFormRegistTest::focusColoursEveryBox() {
  showForm();
  QApplication::setActiveWindow(FormRegist);
  QVERIFY(QTest::qWaitForWindowActive(FormRegist));
  const QColor orange(0xE3, 0x52, 0x1F);
  const QColor info(0xFF, 0xFF, 0xE1);
  const auto colour = [](QLineEdit* edit) { return edit->grab().toImage().pixelColor(3, 10); };
  const QList<QLineEdit*> boxes = {FormRegist->txt_account, FormRegist->txt_password,
                                   FormRegist->txt_repassword, FormRegist->txt_company,
                                   FormRegist->txt_seat,    FormRegist->txt_mobile,
                                   FormRegist->txt_verify};
  for (QLineEdit* focused : boxes) {
    focused->setFocus();
    QTRY_COMPARE(colour(focused), orange);
    QCOMPARE(focused->palette().color(QPalette::Text), QColor(Qt::white));
    for (QLineEdit* other : boxes) {
      if (other == focused) continue;
      QCOMPARE(colour(other), other == FormRegist->txt_seat ? info : QColor(Qt::white));
      QCOMPARE(other->palette().color(QPalette::Text), QColor(Qt::black));
    }
  }
}

void TFormRegistTest::keyFiltersDropWhatTheyRefuse_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("account: letters, digits, underscore, Chinese")
      << "txt_account" << "" << "ab_1-x.中文!@ z" << "ab_1x中文z";
  QTest::newRow("mobile: digits only") << "txt_mobile" << "" << "1a3b5 -7" << "1357";
  QTest::newRow("mobile: a twelfth digit") << "txt_mobile" << "" << "139123456789"
                                           << "13912345678";
  QTest::newRow("other boxes take anything") << "txt_company" << "" << "A&B 物流!" << "A&B 物流!";
}

void TFormRegistTest::keyFiltersDropWhatTheyRefuse() {
  QFETCH(QString, box);
  QFETCH(QString, start);
  QFETCH(QString, typed);
  QFETCH(QString, result);
  auto* edit = FormRegist->findChild<QLineEdit*>(box);
  QVERIFY(edit != nullptr);
  edit->setText(start);
  Type(edit, typed);
  QCOMPARE(edit->text(), result);
}

void TFormRegistTest::pastingIsNotFiltered() {
  struct Case {
    QLineEdit* edit;
    QString pasted;
  };
  for (const Case& c : {Case{FormRegist->txt_mobile, QStringLiteral("13a-5")},
                        Case{FormRegist->txt_account, QStringLiteral("a&b c")}}) {
    c.edit->clear();
    QGuiApplication::clipboard()->setText(c.pasted);
    QTest::keyClick(c.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(c.edit->text(), c.pasted);
    // Backspace always passes; Ctrl+A (a control character the filter refuses) does not.
    QTest::keyClick(c.edit, Qt::Key_Backspace);
    QCOMPARE(c.edit->text(), c.pasted.chopped(1));
    QTest::keyClick(c.edit, Qt::Key_A, Qt::ControlModifier);
    Type(c.edit, QStringLiteral("7"));
    QCOMPARE(c.edit->text(), c.pasted.chopped(1) + QStringLiteral("7"));
  }
}

void TFormRegistTest::theSeatComesFromASingleCityPicker() {
  showForm();
  FormRegist->txt_seat->clear();
  FormRegist->txt_seat->setHiddenValue(QString());
  bool singleCity = false;
  QTimer::singleShot(0, [&] {
    QTRY_VERIFY(ShownPicker() != nullptr);
    TFormArea& picker = *ShownPicker();
    singleCity = picker.onlyOneCity;
    Tick(picker, QStringLiteral("宁波市"));
    QTest::mouseClick(picker.AdvGlowButton1, Qt::LeftButton);
  });
  QTest::mouseClick(FormRegist->btn_seat_choose, Qt::LeftButton);
  QVERIFY(singleCity);
  QCOMPARE(FormRegist->txt_seat->text(), QStringLiteral("宁波市"));
  QCOMPARE(FormRegist->txt_seat->hiddenValue(), QStringLiteral("330200"));

  // The picker opens with the seat of the moment checked.
  QString openedWith;
  QString codesOpenedWith;
  bool checked = false;
  QTimer::singleShot(0, [&] {
    QTRY_VERIFY(ShownPicker() != nullptr);
    TFormArea& picker = *ShownPicker();
    openedWith = picker.txt_area->text();
    codesOpenedWith = picker.txt_area->hiddenValue();
    checked = picker.nodeState(picker.findNode(QStringLiteral("宁波市"))) == TFormArea::csChecked;
    Tick(picker, QStringLiteral("宁波市"));
    Tick(picker, QStringLiteral("北京市"));
    QTest::mouseClick(picker.AdvGlowButton1, Qt::LeftButton);
  });
  QTest::mouseClick(FormRegist->btn_seat_choose, Qt::LeftButton);
  QCOMPARE(openedWith, QStringLiteral("宁波市"));
  QCOMPARE(codesOpenedWith, QStringLiteral("330200"));
  QVERIFY(checked);
  QCOMPARE(FormRegist->txt_seat->text(), QStringLiteral("北京市"));
  QCOMPARE(FormRegist->txt_seat->hiddenValue(), QStringLiteral("110000"));
}

void TFormRegistTest::closingThePickerWithoutOkKeepsTheSeat() {
  showForm();
  QTimer::singleShot(0, [&] {
    QTRY_VERIFY(ShownPicker() != nullptr);
    TFormArea& picker = *ShownPicker();
    Tick(picker, QStringLiteral("杭州市"));
    Tick(picker, QStringLiteral("宁波市"));
    QTRY_COMPARE(picker.txt_area->text(), QStringLiteral("宁波市"));
    QTest::mouseClick(picker.Img_close, Qt::LeftButton, {}, QPoint(5, 5));
  });
  QTest::mouseClick(FormRegist->btn_seat_choose, Qt::LeftButton);
  QCOMPARE(FormRegist->txt_seat->text(), QStringLiteral("杭州市"));
  QCOMPARE(FormRegist->txt_seat->hiddenValue(), QStringLiteral("330100"));
  QCOMPARE(ShownPicker(), nullptr);
}

void TFormRegistTest::clearingTheSeat() {
  QTest::mouseClick(FormRegist->btn_seat_del, Qt::LeftButton);
  QCOMPARE(FormRegist->txt_seat->text(), QString());
  QCOMPARE(FormRegist->txt_seat->hiddenValue(), QString());
}

void TFormRegistTest::verificationCodeRequest_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("reply");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<bool>("opensActivation");
  AddSharedFailureRows(QStringLiteral("/user/captcha"), kN1);
  QTest::newRow("sent") << "/user/captcha"
                        << R"({"success":true,"result":{"register_contact_number":"13912345678"}})"
                         << int(TFormBase::mrCancel)
                        << QStringList{Expected("提示", kCaptchaSent)} << false;
  QTest::newRow("621") << "/user/captcha"
                       << QString::fromStdString(Failure("621", "该手机号码已注册但帐号尚未激活"))
                        << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "该手机号码已注册但帐号尚未激活\r\n\r\n[代码:621]"
                                               "\r\n\r\n点击确认立即进行激活操作!")}
                       << true;
  QTest::newRow("another code") << "/user/captcha"
                                << QString::fromStdString(Failure("213", "验证码已发送"))
                                 << int(TFormBase::mrOk)
                                << QStringList{Expected("错误", "验证码已发送\r\n\r\n[代码:213]")}
                                << false;
}

void TFormRegistTest::verificationCodeRequest() {
  QFETCH(QString, path);
  QFETCH(QString, reply);
  QFETCH(int, answer);
  QFETCH(QStringList, boxes);
  QFETCH(bool, opensActivation);
  useLoopback(path.toStdString(), reply);
  showForm();
  if (reply == QStringLiteral("refused"))
    Korvane::SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  BoxAnswers answers({answer});
  QTest::mouseClick(FormRegist->AdvGlowButton3, Qt::LeftButton);
  QCOMPARE(BoxLines(answers.boxes()), boxes);
  QCOMPARE(answers.boxes()[0].withCancel, reply.contains(QStringLiteral("\"success\":true")));
  const QStringList activation{QString::fromStdString(Korvane::PortalBaseUrl()) +
                               QStringLiteral("/v2/#login")};
  if (opensActivation)
    QTRY_COMPARE(logintest::RecordedCalls("xdg-open"), activation);
  else
    QCOMPARE(logintest::RecordedCalls("xdg-open"), QStringList());
  if (reply != QStringLiteral("refused")) {
    const auto requests = loopback_->requests();
    QVERIFY(requests.back().target.rfind("/user/captcha", 0) == 0);
  }
  QVERIFY(FormRegist->isVisible());
}

void TFormRegistTest::anEmptyMobileAsksForNoCode() {
  useLoopback("/user/captcha", QStringLiteral("500"));
  showForm();
  const auto before = loopback_->requests().size();
  FormRegist->txt_mobile->clear();
  BoxAnswers answers;
  QTest::mouseClick(FormRegist->AdvGlowButton3, Qt::LeftButton);
  QCOMPARE(BoxLines(answers.boxes()), QStringList{Expected("错误", "手机号码不能为空!")});
  QCOMPARE(FormRegist->focusWidget(), FormRegist->txt_mobile);
  QCOMPARE(loopback_->requests().size(), before);
}

void TFormRegistTest::checksInTheirOrder_data() {
  QTest::addColumn<Entries>("entries");
  QTest::addColumn<QList<int>>("answers");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<QString>("focus");
  const auto row = [](const char* name, std::function<void(Entries&)> change,
                      QStringList boxes, const char* focus, QList<int> answers = {}) {
    Entries entries;
    change(entries);
    QTest::newRow(name) << entries << answers << boxes << QString::fromLatin1(focus);
  };
  const QString error = QStringLiteral("错误");
  row("1 account empty", [](Entries& e) { e.account = QString(); },
      {Expected(error, "登录帐号不能为空!")}, "txt_account");
  row("1 account of blanks", [](Entries& e) { e.account = QStringLiteral("   "); },
      {Expected(error, "登录帐号不能为空!")}, "txt_account");
  row("2 five characters in blanks",
      [](Entries& e) { e.password = e.repassword = QStringLiteral(" abc5x "); },
      {Expected(error, "登录密码不能为空且长度至少6位!")}, "txt_password");
  row("2 password empty", [](Entries& e) { e.password = e.repassword = QString(); },
      {Expected(error, "登录密码不能为空且长度至少6位!")}, "txt_password");
  row("2 counts bytes: two Chinese characters and two letters pass",
      [](Entries& e) {
        e.password = e.repassword = QStringLiteral("密码ab");
        e.mobile = QStringLiteral("12345678901");
      },
      {Expected("提示", "手机号码无效!")}, "txt_mobile");
  row("3 a trailing blank differs",
      [](Entries& e) { e.repassword = e.password + QLatin1Char(' '); },
      {Expected(error, "两次密码输入不一致!")}, "txt_password");
  row("3 the check before it wins",
      [](Entries& e) {
        e.account.clear();
        e.repassword = QStringLiteral("other");
      },
      {Expected(error, "登录帐号不能为空!")}, "txt_account");
  row("4 company empty", [](Entries& e) { e.company = QStringLiteral(" "); },
      {Expected(error, "公司名称不能为空!")}, "txt_company");
  row("5 seat empty goes to the company box",
      [](Entries& e) {
        e.seat.clear();
        e.seatCode.clear();
      },
      {Expected(error, "所在地不能为空!")}, "txt_company");
  row("6 mobile empty", [](Entries& e) { e.mobile.clear(); },
      {Expected(error, "手机号码不能为空!")}, "txt_mobile");
  row("7 code empty", [](Entries& e) { e.verify = QStringLiteral("  "); },
      {Expected(error, "验证码不能为空!")}, "txt_verify");
  row("8 an account that is another mobile number",
      [](Entries& e) { e.account = QStringLiteral("13800001111"); },
      {Expected(error, "登录帐号不能与手机号码不一致!")}, "txt_account");
  row("8 an account that is the mobile number passes",
      [](Entries& e) {
        e.account = e.mobile;
        e.company = QStringLiteral("甲&乙物流");
      },
      {Expected("提示",
                "公司名称不能包含以下字符:\r\n\r\n~!#&%^&*()=+|\\[]{};':\",?/<>")},
      "txt_company");
  row("9 an ampersand in the company", [](Entries& e) { e.company = QStringLiteral("A&B物流"); },
      {Expected("提示",
                "公司名称不能包含以下字符:\r\n\r\n~!#&%^&*()=+|\\[]{};':\",?/<>")},
      "txt_company");
  row("10 a weak password, cancelled",
      [](Entries& e) { e.password = e.repassword = QStringLiteral("abcdefgh"); },
      {Expected("提示", kWeakPassword)}, "txt_password", {int(TFormBase::mrCancel)});
  row("10 a weak password, confirmed, goes on",
      [](Entries& e) {
        e.password = e.repassword = QStringLiteral("888888");
        e.mobile = QStringLiteral("1391234567");
      },
      {Expected("提示", kWeakPassword), Expected("提示", "手机号码无效!")}, "txt_mobile",
      {int(TFormBase::mrOk)});
  row("11 an invalid mobile number", [](Entries& e) { e.mobile = QStringLiteral("12912345678"); },
      {Expected("提示", "手机号码无效!")}, "txt_mobile");
}

void TFormRegistTest::checksInTheirOrder() {
  QFETCH(Entries, entries);
  QFETCH(QList<int>, answers);
  QFETCH(QStringList, boxes);
  QFETCH(QString, focus);
  useLoopback("/user/register", QString::fromStdString(Failure("999", "不应调用")));
  showForm();
  Fill(*FormRegist, entries);
  FormRegist->AdvGlowButton2->setFocus();
  const auto before = loopback_->requests().size();
  BoxAnswers shown(answers);
  QTest::mouseClick(FormRegist->AdvGlowButton1, Qt::LeftButton);
  QCOMPARE(BoxLines(shown.boxes()), boxes);
  QCOMPARE(FormRegist->focusWidget()->objectName(), focus);
  // No check that fails lets the registration go out.
  QCOMPARE(loopback_->requests().size(), before);
  QVERIFY(FormRegist->isVisible());
}

void TFormRegistTest::registrationFailures_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("reply");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<bool>("opensActivation");
  AddSharedFailureRows(QStringLiteral("/user/register"), kN2);
  QTest::newRow("621") << "/user/register"
                       << QString::fromStdString(Failure("621", "帐号尚未激活"))
                       << int(TFormBase::mrOk)
                       << QStringList{Expected("提示",
                                               "帐号尚未激活\r\n\r\n[代码:621]\r\n\r\n"
                                               "点击确认立即进行激活操作!")}
                       << true;
  QTest::newRow("another code with the service's field messages")
      << "/user/register"
      << R"({"success":false,"error":{"code":"300","message":"注册信息有误","validates":{"username":["登录帐号已经注册"],"captcha":["验证码错误或已过期"]}}})"
       << int(TFormBase::mrOk) << QStringList() << false;
}

void TFormRegistTest::registrationFailures() {
  QFETCH(QString, path);
  QFETCH(QString, reply);
  QFETCH(int, answer);
  QFETCH(QStringList, boxes);
  QFETCH(bool, opensActivation);
  useLoopback(path.toStdString(), reply);
  showForm();
  if (boxes.isEmpty()) {
    // The report followed directly by the field messages, as the call gives them.
    const Korvane::TMYResult result = Korvane::RegisterUser("newco_1", "Abc12345", "c", "1", "2", "3");
    QVERIFY(!result.detail.empty());
    boxes.append(Expected("错误", QString::fromStdString(result.message) +
                                      QStringLiteral("\r\n\r\n[代码:300]") +
                                      QString::fromStdString(result.detail)));
  }
  if (reply == QStringLiteral("refused"))
    Korvane::SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  BoxAnswers answers({answer});
  QTest::mouseClick(FormRegist->AdvGlowButton1, Qt::LeftButton);
  QCOMPARE(BoxLines(answers.boxes()), boxes);
  QCOMPARE(logintest::RecordedCalls("resolvectl").size(), boxes.size() == 2 ? 1 : 0);
  const QStringList activation{QString::fromStdString(Korvane::PortalBaseUrl()) +
                               QStringLiteral("/v2/#login")};
  if (opensActivation)
    QTRY_COMPARE(logintest::RecordedCalls("xdg-open"), activation);
  // The window stays open with its entries.
  QVERIFY(FormRegist->isVisible());
  QCOMPARE(FormRegist->txt_account->text(), QStringLiteral("newco_1"));
  if (reply != QStringLiteral("refused")) {
    const CapturedRequest request = loopback_->requests().back();
    QCOMPARE(request.method, std::string("POST"));
    QVERIFY(request.target.rfind("/user/register", 0) == 0);
  }
}

void TFormRegistTest::registerThenSignInWithTheNewAccount() {
  const Entries entries;
  Fill(*FormRegist, Entries());
  FormRegist->txt_seat->clear();
  FormRegist->txt_seat->setHiddenValue(QString());
  FormRegist->txt_verify->clear();
  FormLogin->show();
  BoxAnswers boxes;

  WhenModal(FormRegist, [&] {
    // The code the service sends to the mobile number.
    QTest::mouseClick(FormRegist->AdvGlowButton3, Qt::LeftButton);
    QCOMPARE(BoxLines(boxes.boxes()), QStringList{Expected("提示", kCaptchaSent)});
    const auto code = service_->dev("captcha", "contact_number=" + entries.mobile.toStdString());
    FormRegist->txt_verify->setText(QString::fromStdString(code.value("captcha", std::string())));
    QVERIFY(!FormRegist->txt_verify->text().isEmpty());
    QTimer::singleShot(0, [] {
      QTRY_VERIFY(ShownPicker() != nullptr);
      Tick(*ShownPicker(), QStringLiteral("杭州市"));
      QTest::mouseClick(ShownPicker()->AdvGlowButton1, Qt::LeftButton);
    });
    QTest::mouseClick(FormRegist->btn_seat_choose, Qt::LeftButton);
    QCOMPARE(FormRegist->txt_seat->hiddenValue(), QStringLiteral("330100"));
    QTest::mouseClick(FormRegist->AdvGlowButton1, Qt::LeftButton);
  });
  QTest::mouseClick(FormLogin->AdvGlowButton3, Qt::LeftButton);
  QCOMPARE(BoxLines(boxes.boxes()),
           (QStringList{Expected("提示", kCaptchaSent), Expected("提示", "用户注册成功!")}));
  QVERIFY(!FormRegist->isVisible());
  QCOMPARE(FormLogin->txt_code->text(), entries.account);

  // A new account is not yet activated: the service says so and the page opens.
  FormLogin->txt_password->setText(entries.password);
  QTest::mouseClick(FormLogin->AdvGlowButton1, Qt::LeftButton);
  QCOMPARE(boxes.boxes().size(), 3);
  QCOMPARE(boxes.boxes()[2].caption, QStringLiteral("提示"));
  QVERIFY(boxes.boxes()[2].text.endsWith(
      QStringLiteral("\n\n[代码:622]\n\n点击确认立即进行激活操作!")));
  QTRY_COMPARE(logintest::RecordedCalls("xdg-open").size(), 1);
  QVERIFY(FormLogin->isVisible());

  // Asking for a code for the number of a registered, unactivated company gives "621".
  WhenModal(FormRegist, [&] {
    QCOMPARE(FormRegist->txt_mobile->text(), entries.mobile);
    QTest::mouseClick(FormRegist->AdvGlowButton3, Qt::LeftButton);
  });
  QTest::mouseClick(FormLogin->AdvGlowButton3, Qt::LeftButton);
  QCOMPARE(boxes.boxes().size(), 4);
  QVERIFY(boxes.boxes()[3].text.endsWith(
      QStringLiteral("\n\n[代码:621]\n\n点击确认立即进行激活操作!")));
  QTRY_COMPARE(logintest::RecordedCalls("xdg-open").size(), 2);

  service_->dev("activate", "login_name=" + entries.account.toStdString());
  FormLogin->txt_code->setText(entries.account);
  FormLogin->txt_password->setText(entries.password);
  QTest::mouseClick(FormLogin->AdvGlowButton1, Qt::LeftButton);
  QTRY_VERIFY(FormMain->isVisible());
  QVERIFY(!FormLogin->isVisible());
  QCOMPARE(Korvane::Company()->login_name, entries.account.toStdString());
  QCOMPARE(Korvane::Company()->seat_city, std::string("杭州市"));
  QCOMPARE(boxes.boxes().size(), 4);
}


VANDREL_QTEST_MAIN(TFormRegistTest)
#include "TFormRegist_test.moc"
