// The message box: its height for a text, the notice and the question with their results,
// the action captions and what their buttons run, and a second request while one is showing.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>

#include "Korvane/Deployment.h"
#include "QtTestMain.h"
#include "app/TFormMsg.h"

namespace fs = std::filesystem;

namespace {

// Runs `step` inside the box's modal loop, as soon as the box is on screen.
void WhenShown(TFormMsg& box, std::function<void()> step) {
  QTimer::singleShot(0, &box, [&box, step] {
    QTRY_VERIFY(box.isVisible());
    step();
  });
}

// A program of the given name in a folder at the front of PATH, for the box's actions.
std::string InstallFakeProgram(const std::string& name, const std::string& script) {
  const std::string bin = std::string(std::getenv("HOME")) + "/bin/";
  fs::create_directories(bin);
  testsupport::TempHome::WriteBytes(bin + name, "#!/bin/sh\n" + script);
  fs::permissions(bin + name, fs::perms::owner_all);
  const std::string path = std::getenv("PATH");
  if (path.rfind(bin, 0) != 0) setenv("PATH", (bin + ":" + path).c_str(), 1);
  return bin;
}

}  // namespace

class TFormMsgTest : public QObject {
  Q_OBJECT

 private slots:
  void isACompactFrameWithoutMinimiseButton();
  void fitToTextGrowsWithLinesAndWrappedRows_data();
  void fitToTextGrowsWithLinesAndWrappedRows();
  void showInfoShowsOneCentredButton();
  void showConfirmAnswers_data();
  void showConfirmAnswers();
  void enterPressesOkAndEscapeDoesNothing();
  void aSecondRequestWhileShowingGivesZeroAndChangesNothing();
  void actionCaptionWidensTheButtonUntilTheBoxCloses_data();
  void actionCaptionWidensTheButtonUntilTheBoxCloses();
  void repairRunsTheDnsFlushAndWaitsForIt();
  void portalCaptionsOpenThePortalInTheBrowser_data();
  void portalCaptionsOpenThePortalInTheBrowser();
};

void TFormMsgTest::isACompactFrameWithoutMinimiseButton() {
  TFormMsg box;
  QCOMPARE(box.windowTitle(), QStringLiteral("提示"));
  QCOMPARE(box.size(), QSize(289, 145));
  QCOMPARE(box.Panel_top->height(), 29);
  QVERIFY(box.Img_min->isHidden());
  QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
  QCOMPARE(box.Panel1->parentWidget(), box.Panel_main);
  QCOMPARE(box.Panel1->palette().color(QPalette::Window), QColor(0xD5, 0xDB, 0xCD));
  QCOMPARE(box.Label1->geometry(), QRect(16, 33, 249, 41));
  QCOMPARE(box.btn_ok->geometry(), QRect(80, 68, 49, 23));
  QCOMPARE(box.btn_cancel->geometry(), QRect(152, 68, 49, 21));
  QCOMPARE(box.btn_ok->text(), QStringLiteral("确认"));
  QCOMPARE(box.btn_cancel->text(), QStringLiteral("取消"));
  QVERIFY(box.Label1->wordWrap());
  QCOMPARE(box.Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  QCOMPARE(box.Label1->font().pixelSize(), 14);
}

void TFormMsgTest::fitToTextGrowsWithLinesAndWrappedRows_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("windowHeight");
  QTest::addColumn<int>("labelHeight");
  QTest::addColumn<int>("buttonTop");
  const QString bytes34 = QStringLiteral("网络连接失败，请检查网络设置后重试");  // 17 characters
  const QString bytes70 = QString(35, QChar(u'车'));
  QTest::newRow("34-byte line") << bytes34 << 149 << 41 << 68;
  QTest::newRow("34 ASCII bytes") << QString(34, QLatin1Char('a')) << 149 << 41 << 68;
  QTest::newRow("35 bytes wrap once") << QString(35, QLatin1Char('a')) << 157 << 49 << 76;
  QTest::newRow("34-byte and 70-byte lines")
      << bytes34 + QStringLiteral("\r\n") + bytes70 << 177 << 69 << 96;
  QTest::newRow("CR LF alone") << QStringLiteral("\r\n") << 161 << 53 << 80;
  QTest::newRow("empty") << QString() << 149 << 41 << 68;
  QTest::newRow("blank lines count")
      << QStringLiteral("a\r\n\r\nb") << 149 + 24 << 41 + 24 << 68 + 24;
  QTest::newRow("LF alone ends no line") << QStringLiteral("a\nb") << 149 << 41 << 68;
}

void TFormMsgTest::fitToTextGrowsWithLinesAndWrappedRows() {
  QFETCH(QString, text);
  QFETCH(int, windowHeight);
  QFETCH(int, labelHeight);
  QFETCH(int, buttonTop);
  TFormMsg box;
  box.fitToText(text);
  QCOMPARE(box.height(), windowHeight);
  QCOMPARE(box.Label1->height(), labelHeight);
  QCOMPARE(box.btn_ok->y(), buttonTop);
  QCOMPARE(box.btn_cancel->y(), buttonTop);
}

void TFormMsgTest::showInfoShowsOneCentredButton() {
  TFormMsg box;
  WhenShown(box, [&box] {
    QCOMPARE(box.Label_title->text(), QStringLiteral("错误"));
    QCOMPARE(box.Label1->text(), QStringLiteral("密码错误!\n\n[代码:103]"));
    QCOMPARE(box.windowTitle(), QStringLiteral("提示"));
    QVERIFY(box.btn_cancel->isHidden());
    QCOMPARE(box.btn_ok->geometry(), QRect(112, 68 + 24, 49, 23));
    const QRect screen = box.screen()->geometry();
    QVERIFY(qAbs(box.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(box.frameGeometry().center().y() - screen.center().y()) <= 1);
    QTest::mouseClick(box.btn_ok, Qt::LeftButton);
  });
  QCOMPARE(box.showInfo(QStringLiteral("错误"), QStringLiteral("密码错误!\r\n\r\n[代码:103]"),
                        QStringLiteral("确认")),
           1);
  QVERIFY(!box.isVisible());
}

void TFormMsgTest::showConfirmAnswers_data() {
  QTest::addColumn<QString>("press");
  QTest::addColumn<int>("result");
  QTest::newRow("确认") << "btn_ok" << 1;
  QTest::newRow("取消") << "btn_cancel" << 2;
  QTest::newRow("title-bar close button") << "Img_close" << 2;
}

void TFormMsgTest::showConfirmAnswers() {
  QFETCH(QString, press);
  QFETCH(int, result);
  TFormMsg box;
  WhenShown(box, [&box, press] {
    QVERIFY(box.btn_cancel->isVisible());
    QCOMPARE(box.btn_ok->x(), 80);
    QCOMPARE(box.btn_cancel->x(), 152);
    QTest::mouseClick(box.findChild<QWidget*>(press), Qt::LeftButton, {}, QPoint(5, 5));
  });
  QCOMPARE(box.showConfirm(QStringLiteral("退出提示"), QStringLiteral("确认要退出系统吗?")),
           result);
  QVERIFY(!box.isVisible());
}

void TFormMsgTest::enterPressesOkAndEscapeDoesNothing() {
  TFormMsg box;
  bool shownAfterEscape = false;
  WhenShown(box, [&] {
    QTest::keyClick(&box, Qt::Key_Escape);
    QTimer::singleShot(50, &box, [&] {
      shownAfterEscape = box.isVisible();
      QTest::keyClick(&box, Qt::Key_Return);
    });
  });
  QCOMPARE(box.showConfirm(QStringLiteral("删除提示"), QStringLiteral("确认要删除吗?")), 1);
  QVERIFY(shownAfterEscape);
}

void TFormMsgTest::aSecondRequestWhileShowingGivesZeroAndChangesNothing() {
  TFormMsg box;
  int second = -1;
  WhenShown(box, [&] {
    second = box.showInfo(QStringLiteral("恭喜"), QStringLiteral("第二条\r\n消息\r\n很长"),
                          QStringLiteral("立即领取"));
    QCOMPARE(box.Label_title->text(), QStringLiteral("提示"));
    QCOMPARE(box.Label1->text(), QStringLiteral("第一条"));
    QCOMPARE(box.height(), 149);
    QCOMPARE(box.btn_ok->text(), QStringLiteral("确认"));
    QCOMPARE(box.showConfirm(QStringLiteral("退出提示"), QStringLiteral("?")), 0);
    QVERIFY(box.btn_cancel->isHidden());
    QTest::mouseClick(box.btn_ok, Qt::LeftButton);
  });
  QCOMPARE(box.showInfo(QStringLiteral("提示"), QStringLiteral("第一条"), QStringLiteral("确认")),
           1);
  QCOMPARE(second, 0);
}

void TFormMsgTest::actionCaptionWidensTheButtonUntilTheBoxCloses_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("finish");
  QTest::addColumn<int>("result");
  QTest::newRow("马上行动, button") << "马上行动" << "btn_ok" << 1;
  QTest::newRow("马上行动, close button") << "马上行动" << "Img_close" << 2;
  QTest::newRow("尝试修复, button") << "尝试修复" << "btn_ok" << 1;
}

void TFormMsgTest::actionCaptionWidensTheButtonUntilTheBoxCloses() {
  QFETCH(QString, caption);
  QFETCH(QString, finish);
  QFETCH(int, result);
  InstallFakeProgram("resolvectl", "exit 0\n");
  TFormMsg box;
  int widthWhileShown = 0;
  WhenShown(box, [&] {
    widthWhileShown = box.btn_ok->width();
    QCOMPARE(box.btn_ok->text(), caption);
    QCOMPARE(box.btn_ok->x(), 112);
    QTest::mouseClick(box.findChild<QWidget*>(finish), Qt::LeftButton, {}, QPoint(5, 5));
  });
  QCOMPARE(box.showInfo(QStringLiteral("提示"), QStringLiteral("网络异常"), caption), result);
  QVERIFY2(widthWhileShown > 49, qPrintable(QString::number(widthWhileShown)));
  QCOMPARE(box.btn_ok->width(), 49);
  QCOMPARE(box.btn_ok->text(), QStringLiteral("确认"));
  // A plain notice afterwards keeps the plain button.
  WhenShown(box, [&box] {
    QCOMPARE(box.btn_ok->width(), 49);
    QTest::mouseClick(box.btn_ok, Qt::LeftButton);
  });
  QCOMPARE(box.showInfo(QStringLiteral("提示"), QStringLiteral("完成"), QStringLiteral("确认")), 1);
}

void TFormMsgTest::repairRunsTheDnsFlushAndWaitsForIt() {
  const std::string marker = std::string(std::getenv("HOME")) + "/flushed";
  InstallFakeProgram("resolvectl",
                     "sleep 0.3\necho \"$@\" > " + marker + "\n");
  TFormMsg box;
  WhenShown(box, [&box] { QTest::mouseClick(box.btn_ok, Qt::LeftButton); });
  QCOMPARE(box.showInfo(QStringLiteral("提示"), QStringLiteral("网络连接异常"),
                        QStringLiteral("尝试修复")),
           1);
  // The box closed only after the command had ended.
  QCOMPARE(testsupport::TempHome::ReadBytes(marker), std::optional<std::string>("flush-caches\n"));
  fs::remove(marker);
}

void TFormMsgTest::portalCaptionsOpenThePortalInTheBrowser_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("address");
  QTest::newRow("体验新版") << "体验新版" << "http://portal.test/user/login_by_api?token=";
  QTest::newRow("立即领取") << "立即领取"
                        << "http://portal.test/user/login_by_api?token=&url_for=account_rebates";
}

void TFormMsgTest::portalCaptionsOpenThePortalInTheBrowser() {
  QFETCH(QString, caption);
  QFETCH(QString, address);
  const std::string record = std::string(std::getenv("HOME")) + "/opened";
  fs::remove(record);
  InstallFakeProgram("xdg-open", "printf '%s' \"$1\" > " + record + ".part && mv " + record +
                                     ".part " + record + "\n");
  Korvane::SetPortalBaseUrl("http://portal.test");
  TFormMsg box;
  WhenShown(box, [&box] { QTest::mouseClick(box.btn_ok, Qt::LeftButton); });
  QCOMPARE(box.showInfo(QStringLiteral("提醒"), QStringLiteral("高级会员已于 2024-01-01 到期!"),
                        caption),
           1);
  QTRY_VERIFY(fs::exists(record));
  QCOMPARE(QString::fromStdString(testsupport::TempHome::ReadBytes(record).value()), address);
}

VANDREL_QTEST_MAIN(TFormMsgTest)
#include "TFormMsg_test.moc"
