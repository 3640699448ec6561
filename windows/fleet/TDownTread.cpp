#include "windows/fleet/TDownTread.h"

#include <QMetaObject>

#include "Korvane/VehicleCalls.h"

TDownTread::TDownTread(std::string registerContactNumber, int totalResults, int sortIndex,
                       QObject* receiver, Completion onDownloaded)
    : registerContactNumber_(std::move(registerContactNumber)),
      moreCars_(std::make_shared<Korvane::TCars>()),
      sortIndex_(sortIndex),
      receiver_(receiver),
      onDownloaded_(std::move(onDownloaded)) {
  moreCars_->total_results = totalResults;
}

TDownTread::~TDownTread() {
  requestStop();
  join();
}

void TDownTread::start() { thread_ = std::thread([this] { run(); }); }

void TDownTread::join() {
  if (thread_.joinable()) thread_.join();
}

void TDownTread::run() {
  Korvane::LoadMorePages(registerContactNumber_, *moreCars_, sortIndex_, &stop_);
  // The receiver outlives the thread: its owner waits for the thread before releasing it.
  QMetaObject::invokeMethod(
      receiver_, [completion = onDownloaded_, cars = moreCars_] { completion(cars); },
      Qt::QueuedConnection);
}
