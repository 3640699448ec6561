// The development service as an object: main() and the tests start it on a port, send it
// requests and stop it.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

#include "devservice/Clock.h"
#include "devservice/Console.h"
#include "devservice/ServiceOptions.h"
#include "devservice/Storage.h"

namespace httplib {
class Server;
}

namespace devservice {

class ApiDispatcher;

class DevService {
 public:
  // Opens the database of `options`; console lines go to `console` (nullptr: kept only).
  explicit DevService(ServiceOptions options, std::ostream* console = nullptr);
  ~DevService();
  DevService(const DevService&) = delete;
  DevService& operator=(const DevService&) = delete;

  // Binds options.host:port (0: a free port), serves in background threads and returns the
  // port. Throws std::runtime_error when the port cannot be bound.
  int start(int port);
  // Stops serving and waits for the threads; also done by the destructor.
  void stop();
  int port() const { return port_; }

  Storage& storage() { return storage_; }
  ServiceClock& clock() { return clock_; }
  Console& console() { return console_; }
  const ServiceOptions& options() const { return options_; }

 private:
  void installApiRoutes();
  void installDevRoutes();
  void installPortalRoutes();
  void installFallbacks();
  void runAuthorisationTicker();

  ServiceOptions options_;
  Console console_;
  Storage storage_;
  ServiceClock clock_;
  std::unique_ptr<ApiDispatcher> dispatcher_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
  std::thread ticker_;
  std::mutex tickerMutex_;
  std::condition_variable tickerWake_;
  bool stopping_ = false;
  int port_ = 0;
};

}  // namespace devservice
