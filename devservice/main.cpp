// vandrel-devservice: the local development service of the Vandrel client.
#include <csignal>
#include <iostream>

#include "devservice/CommandLine.h"
#include "devservice/Seed.h"
#include "devservice/Server.h"

namespace {

// SIGINT and SIGTERM are taken by sigwait() in main, so no thread is interrupted by them.
sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

void AnnounceDemo(devservice::DevService& service) {
  using namespace devservice;
  service.console().line(std::string("demo account: ") + kDemoLoginName + " / " + kDemoPassword +
                         " (mobile " + kDemoContactNumber + ", " + kDemoCompanyName + ")");
}

int Serve(const devservice::CommandLine& line) {
  using namespace devservice;
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  DevService service(line.service, &std::cout);
  if (line.seed_demo || line.seed_fleet > 0) {
    SeedDemo(service.storage(), service.clock().now());
    if (line.seed_fleet > 0) SeedFleet(service.storage(), line.seed_fleet, service.clock().now());
  }
  const int port = service.start(line.port);
  std::cout << port << std::endl;
  service.console().line("vandrel-devservice listening on http://" + line.service.host + ":" +
                         std::to_string(port) + " (database " + line.service.database + ")");
  if (line.seed_demo || line.seed_fleet > 0) AnnounceDemo(service);
  if (!line.service.update_dir.empty()) {
    service.console().line("update files from " + line.service.update_dir);
  }

  int received = 0;
  sigwait(&signals, &received);
  service.console().line("stopping on signal " + std::to_string(received));
  service.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = devservice::ParseCommandLine({argv + 1, argv + argc});
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "vandrel-devservice: " << *error << "\n" << devservice::Usage();
    return 2;
  }
  const auto& line = std::get<devservice::CommandLine>(parsed);
  if (line.help) {
    std::cout << devservice::Usage();
    return 0;
  }
  try {
    return Serve(line);
  } catch (const std::exception& failure) {
    std::cerr << "vandrel-devservice: " << failure.what() << "\n";
    return 1;
  }
}
