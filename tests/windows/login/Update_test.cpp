// The automatic update: version numbers compared by number, the information file, SHA-256,
// and against the development service's update folder the whole road: a newer version is
// offered with its notes, downloaded, checked, put in place of a temporary copy of the
// executable and started; the same or an older version is not offered; an unreachable server
// is silent; a download that does not match is refused and leaves the executable unchanged.
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <memory>

#include "BoxAnswers.h"
#include "Korvane/Deployment.h"
#include "QtTestMain.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "app/Version.h"
#include "platform/platform.h"
#include "support/DevServiceProcess.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "windows/auxiliary/TAutoUpgrader.h"
#include "windows/auxiliary/UpdateInfo.h"
#include "windows/auxiliary/UpdateInstall.h"
#include "windows/login/TFormLogin.h"

namespace fs = std::filesystem;
using testsupport::TempHome;

namespace {

const std::string kOldProgram = "#!/bin/sh\n# the installed client\nexit 0\n";

// A "new client": a script that writes the arguments it was started with into `marker`.
std::string NewProgram(const std::string& marker) {
  return "#!/bin/sh\n# the new client\necho \"$*\" > \"" + marker + ".part\"\nmv \"" + marker +
         ".part\" \"" + marker + "\"\n";
}

TUpdateInfo Published(const std::string& version, const std::string& bytes) {
  TUpdateInfo info;
  info.version = version;
  info.notes = "v" + version + "\r\n\r\n1.增加车辆分组功能\r\n2.其他常规功能优化及问题修复";
  info.files[UpdateFileName()] = TUpdateFile{bytes.size(), Sha256Hex(bytes)};
  return info;
}

}  // namespace

class UpdateTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();
  void versionsCompareByNumber_data();
  void versionsCompareByNumber();
  void theInformationFileIsRead_data();
  void theInformationFileIsRead();
  void thisVersionPublishesItsOwnNumberAndNotes();
  void sha256OfKnownTexts_data();
  void sha256OfKnownTexts();
  void aNewerVersionIsOfferedInstalledAndStarted();
  void nothingNewerIsNotOffered_data();
  void nothingNewerIsNotOffered();
  void aDeclinedOfferChangesNothing();
  void aDownloadThatDoesNotMatchIsRefused_data();
  void aDownloadThatDoesNotMatchIsRefused();
  void theLoginWindowChecksWhenItIsCreated();

 private:
  // An upgrader that installs into the temporary executable and records the end of the run.
  std::unique_ptr<TAutoUpgrader> newUpgrader();
  void publish(const TUpdateInfo& info, const std::optional<std::string>& file);
  int runCheck(TAutoUpgrader& upgrader);

  std::unique_ptr<TempDir> folder_;
  std::unique_ptr<testsupport::DevServiceProcess> service_;
  TFormMsg* box_ = nullptr;
  std::string updateDir_;
  std::string executable_;
  std::string marker_;
  bool quit_ = false;
};

void UpdateTest::initTestCase() {
  box_ = new TFormMsg;
  FormMsg = box_;
  folder_ = std::make_unique<TempDir>();
  updateDir_ = folder_->path() + "update/";
  fs::create_directories(updateDir_);
  fs::create_directories(folder_->path() + "install/");
  executable_ = folder_->path() + "install/vandrel";
  marker_ = folder_->path() + "started";
  service_ = std::make_unique<testsupport::DevServiceProcess>(
      std::vector<std::string>{"--update-dir", updateDir_});
  Korvane::SetUpdateBaseUrl(service_->baseUrl());
}

void UpdateTest::init() {
  for (const auto& entry : fs::directory_iterator(updateDir_)) fs::remove(entry.path());
  TempHome::WriteBytes(executable_, kOldProgram);
  fs::permissions(executable_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
  fs::remove(marker_);
  quit_ = false;
  Korvane::SetUpdateBaseUrl(service_->baseUrl());
}

void UpdateTest::cleanupTestCase() {
  FormMsg = nullptr;
  delete box_;
}

std::unique_ptr<TAutoUpgrader> UpdateTest::newUpgrader() {
  auto upgrader = std::make_unique<TAutoUpgrader>();
  upgrader->setExecutable(executable_);
  upgrader->setRestartArguments({QStringLiteral("--api-url"), QStringLiteral("http://x")});
  upgrader->setQuit([this] { quit_ = true; });
  return upgrader;
}

void UpdateTest::publish(const TUpdateInfo& info, const std::optional<std::string>& file) {
  TempHome::WriteBytes(updateDir_ + "vandrel.inf", FormatUpdateInfo(info));
  if (file) TempHome::WriteBytes(updateDir_ + UpdateFileName(), *file);
}

int UpdateTest::runCheck(TAutoUpgrader& upgrader) {
  QSignalSpy checked(&upgrader, &TAutoUpgrader::checkFinished);
  upgrader.CheckUpdate();
  if (!checked.wait(10000)) return -1;
  return checked.at(0).at(0).toInt();
}

void UpdateTest::versionsCompareByNumber_data() {
  QTest::addColumn<QString>("candidate");
  QTest::addColumn<QString>("current");
  QTest::addColumn<bool>("newer");
  QTest::newRow("a higher last number") << "5.2.1.13" << "5.2.1.12" << true;
  QTest::newRow("the same") << "5.2.1.12" << "5.2.1.12" << false;
  QTest::newRow("9 is below 12") << "5.2.1.9" << "5.2.1.12" << false;
  QTest::newRow("10 is above 2") << "5.10.0.0" << "5.2.1.12" << true;
  QTest::newRow("fewer numbers, higher") << "5.2.2" << "5.2.1.12" << true;
  QTest::newRow("a trailing zero adds nothing") << "5.2.1.12.0" << "5.2.1.12" << false;
  QTest::newRow("leading zeros") << "5.2.1.012" << "5.2.1.12" << false;
  QTest::newRow("a higher first number") << "6" << "5.99.99.99" << true;
  QTest::newRow("a letter") << "5.2.1.x" << "5.2.1.12" << false;
  QTest::newRow("a prefix") << "v5.3" << "5.2.1.12" << false;
  QTest::newRow("an empty part") << "5..3" << "5.2.1.12" << false;
  QTest::newRow("a trailing dot") << "5.3." << "5.2.1.12" << false;
  QTest::newRow("nothing") << "" << "5.2.1.12" << false;
  QTest::newRow("a blank") << "5.3 " << "5.2.1.12" << false;
}

void UpdateTest::versionsCompareByNumber() {
  QFETCH(QString, candidate);
  QFETCH(QString, current);
  QFETCH(bool, newer);
  QCOMPARE(IsNewerVersion(candidate.toStdString(), current.toStdString()), newer);
}

void UpdateTest::theInformationFileIsRead_data() {
  const std::string digest(64, 'a');
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<QString>("version");
  QTest::addColumn<QString>("notes");
  QTest::addColumn<QStringList>("files");
  QTest::newRow("CR LF lines, comments and blanks")
      << QString::fromStdString("; published\r\n[update]\r\n version = 5.3.0.1 \r\nnotes=v5.3\r\n"
                                "notes=\r\n# a comment\r\nnotes=1.新\r\n\r\n[vandrel.exe]\r\n"
                                "size=12\r\nsha256=" + std::string(64, 'A') + "\r\n")
      << true << "5.3.0.1" << "v5.3\r\n\r\n1.新" << QStringList{"vandrel.exe"};
  QTest::newRow("a file without its digest is left out")
      << QString::fromStdString("[update]\nversion=5.3\n[vandrel.exe]\nsize=12\n"
                                "[vandrel-linux-x86_64]\nsize=3\nsha256=" + digest + "\n")
      << true << "5.3" << "" << QStringList{"vandrel-linux-x86_64"};
  QTest::newRow("a short digest or a bad size is no file")
      << QString::fromStdString("[update]\nversion=5.3\n[a]\nsize=12\nsha256=abc\n[b]\n"
                                "size=-1\nsha256=" + digest + "\n[c]\nsize=1x\nsha256=" +
                                digest + "\n")
      << true << "5.3" << "" << QStringList{};
  QTest::newRow("no version") << "[update]\nnotes=x\n" << false << "" << "" << QStringList{};
  QTest::newRow("a version outside [update]") << "version=5.3\n[x]\nversion=5.4\n" << false
                                              << "" << "" << QStringList{};
  QTest::newRow("no version number") << "[update]\nversion=five\n" << false << "" << ""
                                     << QStringList{};
  QTest::newRow("not an information file") << "<html>404</html>" << false << "" << ""
                                           << QStringList{};
}

void UpdateTest::theInformationFileIsRead() {
  QFETCH(QString, text);
  QFETCH(bool, valid);
  QFETCH(QString, version);
  QFETCH(QString, notes);
  QFETCH(QStringList, files);
  const std::optional<TUpdateInfo> info = ParseUpdateInfo(text.toStdString());
  QCOMPARE(info.has_value(), valid);
  if (!valid) return;
  QCOMPARE(QString::fromStdString(info->version), version);
  QCOMPARE(QString::fromStdString(info->notes), notes);
  QStringList names;
  for (const auto& [name, file] : info->files) {
    names.append(QString::fromStdString(name));
    QCOMPARE(file.sha256, std::string(64, 'a'));
  }
  QCOMPARE(names, files);
  // What is written reads back the same.
  const std::optional<TUpdateInfo> again = ParseUpdateInfo(FormatUpdateInfo(*info));
  QVERIFY(again.has_value());
  QCOMPARE(again->version, info->version);
  QCOMPARE(again->notes, info->notes);
  QCOMPARE(again->files.size(), info->files.size());
}

void UpdateTest::thisVersionPublishesItsOwnNumberAndNotes() {
  const TUpdateInfo own = InfoOfThisVersion();
  QCOMPARE(QString::fromStdString(own.version), QStringLiteral("5.2.1.12"));
  QCOMPARE(QString::fromStdString(own.notes),
           QStringLiteral("v5.2.1.12\r\n\r\n1.增加虚拟运营商号段支持\r\n2.其他常规功能优化及问题修复"));
  const std::optional<TUpdateInfo> read = ParseUpdateInfo(FormatUpdateInfo(own));
  QVERIFY(read.has_value());
  QCOMPARE(read->notes, own.notes);
  auto upgrader = newUpgrader();
  QCOMPARE(upgrader->versionNumber(), QString::fromUtf8(kVersionText));
}

void UpdateTest::sha256OfKnownTexts_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("digest");
  QTest::newRow("empty") << QByteArray()
                         << "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
  QTest::newRow("abc") << QByteArray("abc")
                       << "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  QTest::newRow("two blocks")
      << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
      << "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
}

void UpdateTest::sha256OfKnownTexts() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, digest);
  const std::string text = bytes.toStdString();
  QCOMPARE(QString::fromStdString(Sha256Hex(text)), digest);
  const TUpdateFile file{text.size(), digest.toStdString()};
  QCOMPARE(CheckDownload(text, file), TInstallFailure::None);
  QCOMPARE(CheckDownload(text + "x", file), TInstallFailure::Size);
  if (!text.empty()) {
    std::string changed = text;
    changed[0] = static_cast<char>(changed[0] ^ 1);
    QCOMPARE(CheckDownload(changed, file), TInstallFailure::Digest);
  }
}

void UpdateTest::aNewerVersionIsOfferedInstalledAndStarted() {
  const std::string program = NewProgram(marker_);
  const TUpdateInfo info = Published("5.2.2.0", program);
  publish(info, program);
  auto upgrader = newUpgrader();
  QSignalSpy finished(upgrader.get(), &TAutoUpgrader::updateFinished);
  BoxAnswers boxes({TFormBase::mrOk});
  QCOMPARE(runCheck(*upgrader), int(TAutoUpgrader::coOffered));
  QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
  QCOMPARE(finished.at(0).at(0).toInt(), int(TAutoUpgrader::uoInstalled));

  QCOMPARE(boxes.boxes().size(), 1);
  QCOMPARE(boxes.boxes()[0].caption, QStringLiteral("软件更新"));
  QVERIFY(boxes.boxes()[0].withCancel);
  QVERIFY2(boxes.boxes()[0].text.contains(AsShown(QString::fromStdString(info.notes))),
           qPrintable(boxes.boxes()[0].text));
  QVERIFY(boxes.boxes()[0].text.contains(QStringLiteral("v5.2.1.12")));

  QCOMPARE(TempHome::ReadBytes(executable_), std::optional<std::string>(program));
  QVERIFY((fs::status(executable_).permissions() & fs::perms::owner_exec) != fs::perms::none);
  QVERIFY(!fs::exists(executable_ + ".new"));
  QVERIFY(quit_);
  // The new client was started with this run's arguments.
  QTRY_VERIFY_WITH_TIMEOUT(fs::exists(marker_), 10000);
  QCOMPARE(TempHome::ReadBytes(marker_), std::optional<std::string>("--api-url http://x\n"));
}

void UpdateTest::nothingNewerIsNotOffered_data() {
  QTest::addColumn<QString>("version");
  QTest::addColumn<bool>("withFile");
  QTest::addColumn<QString>("server");  // "service", "nothing published", "unreachable"
  QTest::addColumn<int>("outcome");
  QTest::newRow("this version") << QString::fromUtf8(kVersionText) << true << "service"
                                << int(TAutoUpgrader::coNoNewerVersion);
  QTest::newRow("an older version by number") << "5.2.1.9" << true << "service"
                                              << int(TAutoUpgrader::coNoNewerVersion);
  QTest::newRow("newer, but not for this client's file") << "5.3.0.0" << false << "service"
                                                         << int(TAutoUpgrader::coNoNewerVersion);
  QTest::newRow("no information file") << "" << false << "nothing published"
                                       << int(TAutoUpgrader::coUnreachable);
  QTest::newRow("an unreachable server") << "5.3.0.0" << true << "unreachable"
                                         << int(TAutoUpgrader::coUnreachable);
}

void UpdateTest::nothingNewerIsNotOffered() {
  QFETCH(QString, version);
  QFETCH(bool, withFile);
  QFETCH(QString, server);
  QFETCH(int, outcome);
  if (server != QStringLiteral("nothing published")) {
    TUpdateInfo info = Published(version.toStdString(), NewProgram(marker_));
    if (!withFile) info.files.clear();
    if (version == QString::fromUtf8(kVersionText)) {
      // Exactly what this version publishes for itself.
      const TUpdateInfo own = InfoOfThisVersion();
      info.version = own.version;
      info.notes = own.notes;
    }
    publish(info, NewProgram(marker_));
  }
  if (server == QStringLiteral("unreachable"))
    Korvane::SetUpdateBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  auto upgrader = newUpgrader();
  QSignalSpy finished(upgrader.get(), &TAutoUpgrader::updateFinished);
  BoxAnswers boxes;
  QCOMPARE(runCheck(*upgrader), outcome);
  QTest::qWait(50);
  QCOMPARE(boxes.boxes().size(), 0);
  QCOMPARE(finished.size(), 0);
  QCOMPARE(TempHome::ReadBytes(executable_), std::optional<std::string>(kOldProgram));
  QVERIFY(!quit_);
}

void UpdateTest::aDeclinedOfferChangesNothing() {
  const std::string program = NewProgram(marker_);
  publish(Published("5.2.2.0", program), program);
  auto upgrader = newUpgrader();
  QSignalSpy finished(upgrader.get(), &TAutoUpgrader::updateFinished);
  BoxAnswers boxes({TFormBase::mrCancel});
  QCOMPARE(runCheck(*upgrader), int(TAutoUpgrader::coOffered));
  QTRY_COMPARE(finished.size(), 1);
  QCOMPARE(finished.at(0).at(0).toInt(), int(TAutoUpgrader::uoDeclined));
  QCOMPARE(boxes.boxes().size(), 1);
  QCOMPARE(TempHome::ReadBytes(executable_), std::optional<std::string>(kOldProgram));
  QVERIFY(!quit_);
}

void UpdateTest::aDownloadThatDoesNotMatchIsRefused_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<QString>("reason");
  QTest::newRow("another digest") << "digest" << "升级文件校验失败!";
  QTest::newRow("a partial file") << "partial" << "升级文件不完整!";
  QTest::newRow("a longer file") << "longer" << "升级文件不完整!";
  QTest::newRow("no file on the server") << "missing" << "升级文件下载失败!";
  QTest::newRow("the new file cannot be written") << "unwritable" << "无法替换程序文件!";
}

void UpdateTest::aDownloadThatDoesNotMatchIsRefused() {
  QFETCH(QString, fault);
  QFETCH(QString, reason);
  const std::string program = NewProgram(marker_);
  TUpdateInfo info = Published("5.2.2.0", program);
  std::optional<std::string> served = program;
  if (fault == QStringLiteral("digest")) info.files[UpdateFileName()].sha256 = Sha256Hex("other");
  if (fault == QStringLiteral("partial")) served = program.substr(0, program.size() / 2);
  if (fault == QStringLiteral("longer")) served = program + "\n";
  if (fault == QStringLiteral("missing")) served.reset();
  publish(info, served);
  auto upgrader = newUpgrader();
  // A folder where the new file would be written beside the executable.
  if (fault == QStringLiteral("unwritable")) fs::create_directories(executable_ + ".new/inside");
  QSignalSpy finished(upgrader.get(), &TAutoUpgrader::updateFinished);
  BoxAnswers boxes({TFormBase::mrOk, TFormBase::mrOk});
  QCOMPARE(runCheck(*upgrader), int(TAutoUpgrader::coOffered));
  QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
  QCOMPARE(finished.at(0).at(0).toInt(), int(TAutoUpgrader::uoFailed));
  QCOMPARE(boxes.boxes().size(), 2);
  QCOMPARE(boxes.boxes()[1].caption, QStringLiteral("提示"));
  QCOMPARE(boxes.boxes()[1].text,
           AsShown(reason + QStringLiteral("\r\n\r\n当前版本保持不变\r\n"
                                           "请稍后再试或者联系客服协助解决!")));
  QCOMPARE(TempHome::ReadBytes(executable_), std::optional<std::string>(kOldProgram));
  QVERIFY(!quit_);
  QTest::qWait(100);
  QVERIFY(!fs::exists(marker_));
  if (fault == QStringLiteral("unwritable"))
    fs::remove_all(executable_ + ".new");
  else
    QVERIFY(!fs::exists(executable_ + ".new"));
}

void UpdateTest::theLoginWindowChecksWhenItIsCreated() {
  const std::string program = NewProgram(marker_);
  publish(Published("5.2.2.0", program), program);
  // The login window's upgrader would replace this test program: the offer is declined.
  BoxAnswers boxes({TFormBase::mrCancel});
  TFormLogin login;
  QCOMPARE(login.auAutoUpgrader->executable(), platform::ExecutablePath());
  QSignalSpy finished(login.auAutoUpgrader, &TAutoUpgrader::updateFinished);
  QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
  QCOMPARE(finished.at(0).at(0).toInt(), int(TAutoUpgrader::uoDeclined));
  QCOMPARE(boxes.boxes().size(), 1);
  QCOMPARE(boxes.boxes()[0].caption, QStringLiteral("软件更新"));
}

VANDREL_QTEST_MAIN(UpdateTest)
#include "Update_test.moc"
