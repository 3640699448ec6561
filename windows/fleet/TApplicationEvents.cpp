#include "windows/fleet/TApplicationEvents.h"

#include <QCoreApplication>

TApplicationEvents::TApplicationEvents(std::function<bool(QObject*, QEvent*)> onMessage,
                                       QObject* parent)
    : QObject(parent), onMessage_(std::move(onMessage)) {
  setObjectName(QStringLiteral("ApplicationEvents1"));
  if (QCoreApplication* application = QCoreApplication::instance())
    application->installEventFilter(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (QCoreApplication* application = QCoreApplication::instance())
    application->removeEventFilter(this);
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
  return onMessage_ && onMessage_(watched, event);
}
