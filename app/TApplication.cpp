#include "app/TApplication.h"

#include <exception>

#include "app/ErrorReport.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The message loop ends when the main window closes or on Terminate, never because the
  // last visible window went away (the login window hides itself after sign-in).
  setQuitOnLastWindowClosed(false);
}

TApplication::~TApplication() {
  while (!forms_.empty()) forms_.pop_back();
}

TApplication* TApplication::Instance() {
  return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::setTitle(const QString& title) { setApplicationDisplayName(title); }

QString TApplication::title() const { return applicationDisplayName(); }

int TApplication::Run() {
  if (mainForm_ != nullptr) mainForm_->show();
  return exec();
}

void TApplication::Minimize() {
  for (QWidget* window : topLevelWidgets())
    if (window->isVisible()) window->showMinimized();
}

void TApplication::Terminate() { quit(); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& failure) {
    ShowErrorReport(QString::fromUtf8(failure.what()));
  } catch (...) {
    ShowErrorReport(QStringLiteral("未知错误"));
  }
  return false;
}
