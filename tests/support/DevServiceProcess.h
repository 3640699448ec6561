// Starts vandrel-devservice as a child process on a free loopback port for one test, and
// talks to its unsigned /dev/ endpoints.
#pragma once

#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace testsupport {

class DevServiceProcess {
 public:
  // `extra` is appended to "--port 0 --db :memory: --seed demo".
  explicit DevServiceProcess(const std::vector<std::string>& extra = {});
  ~DevServiceProcess();
  DevServiceProcess(const DevServiceProcess&) = delete;
  DevServiceProcess& operator=(const DevServiceProcess&) = delete;

  int port() const { return port_; }
  std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // GET of a /dev/ endpoint with a query such as "plate_number=..."; the `result` object.
  nlohmann::json dev(const std::string& endpoint, const std::string& query = "") const;

  // The demo account of the seeded service.
  static constexpr const char* kDemoLogin = "demo";
  static constexpr const char* kDemoPassword = "demo1234";
  static constexpr const char* kDemoContact = "13800138000";

 private:
  void Stop();

  pid_t pid_ = -1;
  int port_ = 0;
  std::thread drain_;
};

}  // namespace testsupport
