// The application object: owns the windows of the fixed set, knows the main window, ends the
// message loop, and reports every failure that escapes an event handler.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  // Destroys the windows it owns, the last created first.
  ~TApplication() override;

  // The running application object, nullptr when there is none of this class.
  static TApplication* Instance();

  // The text of the taskbar button.
  void setTitle(const QString& title);
  QString title() const;

  // Creates one window of the fixed set into its program-wide reference; the application owns
  // it until the process ends. The first window created becomes the main window.
  template <typename T>
  void CreateForm(T*& reference) {
    auto form = std::make_unique<T>();
    reference = form.get();
    if (mainForm_ == nullptr) mainForm_ = reference;
    forms_.push_back(std::move(form));
  }

  QWidget* mainForm() const { return mainForm_; }

  // Shows the main window and runs the message loop until Terminate or the main window closes.
  int Run();
  // Minimises every visible window of the application.
  void Minimize();
  // Ends the message loop.
  void Terminate();

  // Dispatches one event; a failure that escapes its handler goes to the error report and the
  // client carries on.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::vector<std::unique_ptr<QWidget>> forms_;
  QWidget* mainForm_ = nullptr;
};
