// A settings write that fails inside an event handler reaches the application's error report,
// which names the file, and the client goes on handling events.
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "QtTestMain.h"
#include "app/ErrorReport.h"
#include "settings/AutoRun.h"
#include "settings/Config.h"
#include "settings/SettingsFile.h"

namespace fs = std::filesystem;

namespace {

QMessageBox* ShownErrorReport() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == QLatin1String(kErrorReportName) && window->isVisible())
      return qobject_cast<QMessageBox*>(window);
  return nullptr;
}

}  // namespace

class ErrorReportTest : public QObject {
  Q_OBJECT

 private slots:
  void aFailedWriteInAHandlerIsReportedAndTheClientGoesOn_data();
  void aFailedWriteInAHandlerIsReportedAndTheClientGoesOn();
};

void ErrorReportTest::aFailedWriteInAHandlerIsReportedAndTheClientGoesOn_data() {
  QTest::addColumn<QString>("named");
  QTest::addColumn<std::function<void()>>("handler");
  const std::string home = std::getenv("HOME");

  const std::string settings = SettingsFilePath();
  QTest::newRow("read-only settings file")
      << QString::fromStdString(settings) << std::function<void()>([settings] {
           saveConfig(TConfig{"user1", "", false, false});
           fs::permissions(settings, fs::perms::owner_read);
           saveConfig(TConfig{"user2", "", true, false});
         });
  const std::string autostart = home + "/.config/autostart";
  QTest::newRow("unwritable autostart folder")
      << QString::fromStdString(autostart + "/VandrelClient.desktop")
      << std::function<void()>([autostart] {
           testsupport::TempHome::WriteBytes(autostart, "a file where the folder belongs");
           SetAutoRun("/opt/vandrel/vandrel", false);
         });
  QTest::newRow("any other failure")
      << QStringLiteral("磁盘已满")
      << std::function<void()>([] { throw std::runtime_error("磁盘已满"); });
}

void ErrorReportTest::aFailedWriteInAHandlerIsReportedAndTheClientGoesOn() {
  QFETCH(QString, named);
  QFETCH(std::function<void()>, handler);
  QString reported;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (QMessageBox* report = ShownErrorReport()) {
      reported = report->text();
      report->accept();
    }
  });
  watcher.start(10);

  QTimer::singleShot(0, handler);
  bool laterEventHandled = false;
  QTimer::singleShot(20, [&] { laterEventHandled = true; });

  QTRY_VERIFY(!reported.isEmpty());
  QVERIFY2(reported.contains(named), qPrintable(reported));
  QTRY_VERIFY(laterEventHandled);
  QCOMPARE(ShownErrorReport(), nullptr);
  if (fs::exists(SettingsFilePath()))
    QCOMPARE(loadConfig().user, std::string("user1"));  // the failed write changed nothing
}

VANDREL_QTEST_MAIN(ErrorReportTest)
#include "ErrorReport_test.moc"
