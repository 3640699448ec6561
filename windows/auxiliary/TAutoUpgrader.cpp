#include "windows/auxiliary/TAutoUpgrader.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QProcess>
#include <QTimer>

#include <mutex>
#include <thread>

#include "Korvane/Deployment.h"
#include "Korvane/HttpClient.h"
#include "app/Forms.h"
#include "app/TApplication.h"
#include "app/TFormMsg.h"
#include "app/Version.h"
#include "platform/platform.h"

namespace {

const QString kOfferCaption = QStringLiteral("软件更新");
// While another box is on screen a box of the update waits this long before it comes again.
constexpr int kOfferRetryMs = 1000;

QString OfferText(const TUpdateInfo& info) {
  return QStringLiteral("发现新版本,当前版本为v") + QString::fromUtf8(kVersionText) +
         QStringLiteral("\r\n\r\n") + QString::fromStdString(info.notes) +
         QStringLiteral("\r\n\r\n点击确认立即下载并安装新版本");
}

QString FailureReason(TInstallFailure failure) {
  switch (failure) {
    case TInstallFailure::Download:
      return QStringLiteral("升级文件下载失败!");
    case TInstallFailure::Size:
      return QStringLiteral("升级文件不完整!");
    case TInstallFailure::Digest:
      return QStringLiteral("升级文件校验失败!");
    default:
      return QStringLiteral("无法替换程序文件!");
  }
}

QString FailureText(TInstallFailure failure) {
  return FailureReason(failure) +
         QStringLiteral("\r\n\r\n当前版本保持不变\r\n请稍后再试或者联系客服协助解决!");
}

struct InfoRead {
  std::optional<TUpdateInfo> info;
  bool reached = false;
};

InfoRead ReadInfoFile(const std::string& url) {
  try {
    return InfoRead{ParseUpdateInfo(Korvane::Http::Get(url)), true};
  } catch (...) {
    return InfoRead{};
  }
}

TInstallFailure DownloadAndInstall(const std::string& url, const TUpdateFile& file,
                                   const std::string& executable) {
  std::string bytes;
  try {
    bytes = Korvane::Http::Get(url);
  } catch (...) {
    return TInstallFailure::Download;
  }
  const TInstallFailure mismatch = CheckDownload(bytes, file);
  if (mismatch != TInstallFailure::None) return mismatch;
  return ReplaceExecutable(executable, bytes);
}

}  // namespace

// The background threads hand their results to the upgrader only while it exists.
struct TAutoUpgrader::Lifetime {
  std::mutex lock;
  TAutoUpgrader* owner = nullptr;
};

TAutoUpgrader::TAutoUpgrader(QObject* parent)
    : QObject(parent),
      lifetime_(std::make_shared<Lifetime>()),
      executable_(platform::ExecutablePath()),
      arguments_(QCoreApplication::arguments().mid(1)),
      quit_([] {
        if (TApplication* application = TApplication::Instance())
          application->Terminate();
        else
          QCoreApplication::quit();
      }) {
  lifetime_->owner = this;
}

TAutoUpgrader::~TAutoUpgrader() {
  std::lock_guard<std::mutex> guard(lifetime_->lock);
  lifetime_->owner = nullptr;
}

QString TAutoUpgrader::versionNumber() const { return QString::fromUtf8(kVersionText); }

template <typename Result>
void TAutoUpgrader::runInBackground(std::function<Result()> work,
                                    std::function<void(Result)> done) {
  std::thread([lifetime = lifetime_, work = std::move(work), done = std::move(done)] {
    Result result = work();
    std::lock_guard<std::mutex> guard(lifetime->lock);
    if (lifetime->owner == nullptr) return;
    // A result posted to an upgrader that is destroyed before it arrives is dropped with it.
    QMetaObject::invokeMethod(
        lifetime->owner, [done, result] { done(result); }, Qt::QueuedConnection);
  }).detach();
}

void TAutoUpgrader::CheckUpdate() {
  RemoveReplacedExecutable(executable_);
  const std::string url = Korvane::UpdateBaseUrl() + kUpdateInfoPath;
  runInBackground<InfoRead>([url] { return ReadInfoFile(url); },
                            [this](InfoRead read) { checkRead(read.info, read.reached); });
}

void TAutoUpgrader::checkRead(const std::optional<TUpdateInfo>& info, bool reached) {
  if (!reached) {
    emit checkFinished(coUnreachable);
    return;
  }
  if (!info || !IsNewerVersion(info->version, kVersionText) ||
      info->files.count(UpdateFileName()) == 0) {
    emit checkFinished(coNoNewerVersion);
    return;
  }
  emit checkFinished(coOffered);
  offerUpdate(*info);
}

void TAutoUpgrader::offerUpdate(const TUpdateInfo& info) {
  const int answer = FormMsg->showConfirm(kOfferCaption, OfferText(info));
  if (answer == TFormMsg::mrNone) {
    QTimer::singleShot(kOfferRetryMs, this, [this, info] { offerUpdate(info); });
    return;
  }
  if (answer != TFormMsg::mrOk) {
    emit updateFinished(uoDeclined);
    return;
  }
  startDownload(info.files.at(UpdateFileName()));
}

void TAutoUpgrader::startDownload(const TUpdateFile& file) {
  const std::string url = Korvane::UpdateBaseUrl() + kUpdateFolderPath + UpdateFileName();
  const std::string executable = executable_;
  runInBackground<TInstallFailure>(
      [url, file, executable] { return DownloadAndInstall(url, file, executable); },
      [this](TInstallFailure failure) { downloadFinished(failure); });
}

void TAutoUpgrader::downloadFinished(TInstallFailure failure) {
  if (failure == TInstallFailure::None)
    restart();
  else
    reportFailure(failure);
}

void TAutoUpgrader::reportFailure(TInstallFailure failure) {
  if (FormMsg->showInfo(QStringLiteral("提示"), FailureText(failure), QStringLiteral("确认")) ==
      TFormMsg::mrNone) {
    QTimer::singleShot(kOfferRetryMs, this, [this, failure] { reportFailure(failure); });
    return;
  }
  emit updateFinished(uoFailed);
}

void TAutoUpgrader::restart() {
  if (!QProcess::startDetached(QString::fromStdString(executable_), arguments_)) {
    FormMsg->showInfo(QStringLiteral("提示"),
                      QStringLiteral("新版本已经安装,但未能自动启动!\r\n\r\n请重新启动程序"),
                      QStringLiteral("确认"));
  }
  emit updateFinished(uoInstalled);
  quit_();
}
