// Test support of the fleet window: the development service behind a proxy that can hold or
// fail list pages and records the list calls, a watcher that reads and answers the message
// box, and a fixture that signs in and shows the window.
#pragma once

#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Korvane/AccountCalls.h"
#include "Korvane/Codec.h"
#include "Korvane/Deployment.h"
#include "Korvane/HttpClient.h"
#include "Korvane/Session.h"
#include "Korvane/VehicleCalls.h"
#include "app/Forms.h"
#include "app/TFormMsg.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "support/DevServiceProcess.h"
#include "support/LoopbackServer.h"
#include "windows/editor/TFormCarType.h"
#include "windows/fleet/TFormMain.h"

namespace fleettest {

using Parameters = std::map<std::string, std::string>;

// The signed parameters of a request target ("/car/list?key=..&parameters=..&sign=.."),
// decoded.
inline Parameters DecodedParameters(const std::string& target) {
  Parameters decoded;
  const std::size_t query = target.find('?');
  if (query == std::string::npos) return decoded;
  std::string encoded;
  std::size_t start = query + 1;
  while (start <= target.size()) {
    std::size_t end = target.find('&', start);
    if (end == std::string::npos) end = target.size();
    const std::string pair = target.substr(start, end - start);
    if (pair.rfind("parameters=", 0) == 0) encoded = Korvane::UrlDecode(pair.substr(11));
    start = end + 1;
  }
  const std::string text = Korvane::Base64Decode(encoded);
  start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    const std::string pair = text.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    if (equals != std::string::npos)
      decoded[Korvane::UrlDecode(pair.substr(0, equals))] = Korvane::UrlDecode(pair.substr(equals + 1));
    start = end + 1;
  }
  return decoded;
}

inline std::string PathOf(const std::string& target) { return target.substr(0, target.find('?')); }

// The development service seen through a loopback proxy: every request goes on to the
// service unchanged, except list pages the test holds back or makes fail.
class ServiceProxy {
 public:
  explicit ServiceProxy(const testsupport::DevServiceProcess& service)
      : serviceUrl_(service.baseUrl()),
        server_([this](const testsupport::CapturedRequest& request) { return forward(request); }) {}
  ~ServiceProxy() { releaseHeldPages(); }

  std::string baseUrl() const { return server_.baseUrl(); }

  // Page `page` of the list waits until releaseHeldPages().
  void holdPage(int page) {
    std::lock_guard<std::mutex> lock(mutex_);
    held_.insert(page);
  }
  void releaseHeldPages() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_.clear();
    released_.notify_all();
  }
  // Page `page` of the list is answered with `reply` instead of the service's answer.
  void failPage(int page, testsupport::Reply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_[page] = std::move(reply);
  }
  void clearFailures() {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_.clear();
  }
  // The decoded parameters of every list call so far.
  std::vector<Parameters> listCalls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listCalls_;
  }
  int firstPageCalls() const {
    int count = 0;
    for (const Parameters& call : listCalls())
      if (call.at("page_no") == "1") ++count;
    return count;
  }

 private:
  testsupport::Reply forward(const testsupport::CapturedRequest& request) {
    if (PathOf(request.target) == "/car/list") {
      const Parameters parameters = DecodedParameters(request.target);
      const int page = std::stoi(parameters.at("page_no"));
      std::unique_lock<std::mutex> lock(mutex_);
      listCalls_.push_back(parameters);
      released_.wait(lock, [&] { return !held_.contains(page); });
      if (const auto failure = failing_.find(page); failure != failing_.end()) return failure->second;
    }
    try {
      if (request.method == "POST")
        return testsupport::Reply::Json(Korvane::Http::PostForm(serviceUrl_ + request.target, request.body));
      return testsupport::Reply::Json(Korvane::Http::Get(serviceUrl_ + request.target));
    } catch (const std::exception&) {
      return testsupport::Reply::Status(502, "Bad Gateway");
    }
  }

  std::string serviceUrl_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  std::set<int> held_;
  std::map<int, testsupport::Reply> failing_;
  std::vector<Parameters> listCalls_;
  testsupport::LoopbackServer server_;
};

// A message box that showed: its caption, its text (line breaks as "\n") and whether it asked
// a question.
struct Shown {
  QString caption;
  QString text;
  bool question = false;
};

// Reads every message box that comes up and answers it: OK unless an answer was queued.
class MessageWatcher {
 public:
  explicit MessageWatcher(TFormMsg& box) : box_(box) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(5);
  }

  // The next box is answered with 1 (OK) or 2 (cancel).
  void answerNext(int result) { answers_.push_back(result); }
  const std::vector<Shown>& shown() const { return shown_; }
  void clear() { shown_.clear(); }

 private:
  void poll() {
    if (!box_.isVisible() || answering_) return;
    answering_ = true;
    shown_.push_back({box_.Label_title->text(), box_.Label1->text(), box_.btn_cancel->isVisible()});
    int result = 1;
    if (!answers_.empty()) {
      result = answers_.front();
      answers_.erase(answers_.begin());
    }
    QTest::mouseClick(result == 1 ? static_cast<QWidget*>(box_.btn_ok) : box_.btn_cancel,
                      Qt::LeftButton);
    answering_ = false;
  }

  TFormMsg& box_;
  QTimer timer_;
  std::vector<int> answers_;
  std::vector<Shown> shown_;
  bool answering_ = false;
};

// The fleet window with the editor hand-over recorded instead of opening an editor.
class TRecordingFormMain : public TFormMain {
 public:
  struct Opening {
    QString title;
    int mode;
    Korvane::CarPtr car;
  };
  std::vector<Opening> openings;

 protected:
  void openCar(const QString& title, int mode, Korvane::CarPtr car) override {
    openings.push_back({title, mode, std::move(car)});
  }
};

inline std::string Setting(const char* section, const std::string& key) {
  return TIniFile(SettingsFilePath()).ReadString(section, key, "<missing>");
}

inline void WriteSetting(const char* section, const std::string& key, const std::string& value) {
  TIniFile(SettingsFilePath()).WriteString(section, key, value);
}

// A signed-in demo company (with `extraVehicles` more than its own 30) and the fleet window,
// talking to the service through the proxy. Settings start empty.
class FleetFixture {
 public:
  static constexpr int kDemoVehicles = 30;

  explicit FleetFixture(int extraVehicles = 0)
      : service({"--seed-fleet", std::to_string(extraVehicles)}), proxy(service), watcher(box) {
    std::filesystem::remove(SettingsFilePath());
    Korvane::SetApiBaseUrl(proxy.baseUrl());
    Korvane::SetPortalBaseUrl("http://portal.test");
    FormMsg = &box;
    FormCarType = &types;
    const Korvane::TMYResult signedIn = Korvane::Verify(
        Korvane::VerifyMode::User, testsupport::DevServiceProcess::kDemoLogin,
        testsupport::DevServiceProcess::kDemoPassword);
    if (!signedIn.success) throw std::runtime_error("sign-in failed: " + signedIn.message);
  }
  ~FleetFixture() {
    proxy.releaseHeldPages();
    window.reset();
    FormMain = nullptr;
    FormMsg = nullptr;
    FormCarType = nullptr;
    Korvane::SetCurrentCars(nullptr);
    Korvane::SetCompany(nullptr);
  }

  Korvane::TCompany& company() { return *Korvane::Company(); }
  std::string number() { return company().register_contact_number; }

  // The window, created and shown; the first page is in the grid when this returns.
  TRecordingFormMain& show() {
    window = std::make_unique<TRecordingFormMain>();
    FormMain = window.get();
    window->versionText = QStringLiteral("5.2.1.12");
    window->show();
    return *window;
  }
  // Waits until the background download has ended.
  bool waitUntilIdle(int timeoutMs = 20000) {
    return QTest::qWaitFor([this] { return !window->busy; }, timeoutMs);
  }

  // The fixture's own calls go to the service directly, so that the proxy sees the window's
  // calls only.
  class Direct {
   public:
    explicit Direct(const FleetFixture& fixture) : proxy_(fixture.proxy.baseUrl()) {
      Korvane::SetApiBaseUrl(fixture.service.baseUrl());
    }
    ~Direct() { Korvane::SetApiBaseUrl(proxy_); }

   private:
    std::string proxy_;
  };

  // The vehicles of the company as the service lists them now.
  Korvane::CarList serviceList(int sortIndex = 1) {
    const Direct direct(*this);
    Korvane::TCars page;
    Korvane::GetCarPage(number(), 1, sortIndex, page);
    return page.cars ? *page.cars : Korvane::CarList();
  }
  // Deletes vehicles at the service until `keep` are left.
  void keepVehicles(std::size_t keep) {
    const Korvane::CarList cars = serviceList();
    const Direct direct(*this);
    for (std::size_t i = keep; i < cars.size(); ++i)
      if (!Korvane::DeleteCar(number(), cars[i]->plate_number).success)
        throw std::runtime_error("delete failed");
  }
  // Adds a vehicle at the service; `change` fills in fields after the defaults.
  template <typename Change>
  Korvane::TCar addVehicle(const std::string& plate, const std::string& mobile, Change change) {
    Korvane::TCar car;
    car.register_contact_number = number();
    car.plate_number = plate;
    car.locate_number = mobile;
    car.driver_name = "测试司机";
    car.driver_gender = "男";
    car.model_1 = "CM1_08";
    car.model_2 = "CM2_04";
    car.length = "9.6";
    car.tonnage = "30";
    change(car);
    const Direct direct(*this);
    const Korvane::TMYResult saved = Korvane::SaveCar(car, 1);
    if (!saved.success) throw std::runtime_error("add failed: " + saved.message + " " + saved.detail);
    return car;
  }

  testsupport::DevServiceProcess service;
  ServiceProxy proxy;
  TFormMsg box;
  TFormCarType types;
  MessageWatcher watcher;
  std::unique_ptr<TRecordingFormMain> window;
};

// Texts as the message box shows them: CR LF as LF.
inline QString Shows(const char* text) {
  return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace fleettest
