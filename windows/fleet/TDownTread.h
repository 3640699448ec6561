// The background download of the vehicle list's pages 2 and up. It makes its service calls on
// a thread of its own with the inputs it was given, collects the vehicles into a list of its
// own, and hands that list to its receiver on the GUI thread.
#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Korvane/FleetList.h"

class TDownTread {
 public:
  using Completion = std::function<void(std::shared_ptr<Korvane::TCars>)>;

  // `totalResults` as page 1 reported it; `onDownloaded` runs on `receiver`'s (the GUI) thread.
  TDownTread(std::string registerContactNumber, int totalResults, int sortIndex,
             QObject* receiver, Completion onDownloaded);
  // Asks the thread to stop and waits for it.
  ~TDownTread();
  TDownTread(const TDownTread&) = delete;
  TDownTread& operator=(const TDownTread&) = delete;

  void start();
  // The download ends after the page it is fetching; the vehicles so far are still handed on.
  void requestStop() { stop_ = true; }
  // Waits for the thread to end (it ends right after handing its list on).
  void join();

  int sortIndex() const { return sortIndex_; }

 private:
  void run();

  std::string registerContactNumber_;
  std::shared_ptr<Korvane::TCars> moreCars_;
  int sortIndex_;
  QObject* receiver_;
  Completion onDownloaded_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
