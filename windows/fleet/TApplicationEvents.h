// The application-wide message hook: sees every event the application dispatches, to any
// object of any window, before it reaches its receiver.
#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

class TApplicationEvents : public QObject {
  Q_OBJECT

 public:
  // `onMessage` answers true for an event that is handled and must not be dispatched.
  explicit TApplicationEvents(std::function<bool(QObject*, QEvent*)> onMessage,
                              QObject* parent = nullptr);
  ~TApplicationEvents() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool(QObject*, QEvent*)> onMessage_;
};
