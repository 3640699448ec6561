// The client's automatic update. CheckUpdate reads the update server's information file
// (UpdateInfo.h) on a background thread; when a higher version than this client's is
// published for its file, the message box offers it with its release notes. On consent the
// file is downloaded on a background thread, checked against the size and SHA-256 digest of
// the information file, put in the place of the executable, and the new client is started
// with the same arguments while this run ends. An update server that cannot be reached, or
// that publishes nothing newer, is not mentioned; a download that fails or does not match is
// refused with a message and leaves the installed client as it was.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

#include "windows/auxiliary/UpdateInfo.h"
#include "windows/auxiliary/UpdateInstall.h"

class TAutoUpgrader : public QObject {
  Q_OBJECT

 public:
  // How a check ended.
  enum TCheckOutcome {
    coUnreachable = 0,     // no information file could be read
    coNoNewerVersion = 1,  // nothing newer for this client's file
    coOffered = 2,         // a newer version was offered
  };
  // How an offered update ended.
  enum TUpdateOutcome {
    uoDeclined = 0,
    uoInstalled = 1,  // the new file is in place and was started
    uoFailed = 2,     // refused or failed; the installed client is unchanged
  };

  explicit TAutoUpgrader(QObject* parent = nullptr);
  ~TAutoUpgrader() override;

  // This client's version number, "5.2.1.12".
  QString versionNumber() const;

  // The executable that an update replaces and restarts: the running one unless set.
  void setExecutable(const std::string& path) { executable_ = path; }
  const std::string& executable() const { return executable_; }
  // The arguments the new client is started with: this run's own unless set.
  void setRestartArguments(const QStringList& arguments) { arguments_ = arguments; }
  // What ends this run once the new client started: the application's Terminate unless set.
  void setQuit(std::function<void()> quit) { quit_ = std::move(quit); }

  // Starts one check in the background and returns at once.
  void CheckUpdate();

 signals:
  void checkFinished(int outcome);
  void updateFinished(int outcome);

 private:
  struct Lifetime;

  // Runs `work` on a thread of its own; `done` runs afterwards on the GUI thread while this
  // object still exists.
  template <typename Result>
  void runInBackground(std::function<Result()> work, std::function<void(Result)> done);

  void checkRead(const std::optional<TUpdateInfo>& info, bool reached);
  void offerUpdate(const TUpdateInfo& info);
  void startDownload(const TUpdateFile& file);
  void downloadFinished(TInstallFailure failure);
  void reportFailure(TInstallFailure failure);
  void restart();

  std::shared_ptr<Lifetime> lifetime_;
  std::string executable_;
  QStringList arguments_;
  std::function<void()> quit_;
};
