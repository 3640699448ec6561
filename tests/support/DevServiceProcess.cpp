#include "DevServiceProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "Korvane/Codec.h"
#include "Korvane/HttpClient.h"

extern char** environ;

namespace testsupport {
namespace {

std::string ReadFirstLine(int fd) {
  std::string line;
  char c;
  while (::read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

}  // namespace

DevServiceProcess::DevServiceProcess(const std::vector<std::string>& extra) {
  std::vector<std::string> args = {VANDREL_DEVSERVICE_PATH, "--port", "0", "--db", ":memory:", "--seed", "demo"};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe(out) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    throw std::runtime_error("cannot start " + args[0]);
  }
  const std::string first = ReadFirstLine(out[0]);
  // The service goes on writing its console; keep reading it so that it never blocks on a
  // full pipe.
  drain_ = std::thread([fd = out[0]] {
    char sink[4096];
    while (::read(fd, sink, sizeof sink) > 0) {
    }
    ::close(fd);
  });
  try {
    port_ = std::stoi(first);
  } catch (...) {
    Stop();
    throw std::runtime_error("the development service did not print its port: '" + first + "'");
  }
}

void DevServiceProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  if (drain_.joinable()) drain_.join();
}

DevServiceProcess::~DevServiceProcess() { Stop(); }

nlohmann::json DevServiceProcess::dev(const std::string& endpoint, const std::string& query) const {
  const std::string body = Korvane::Http::Get(baseUrl() + "/dev/" + endpoint + (query.empty() ? "" : "?" + query));
  nlohmann::json answer = nlohmann::json::parse(body);
  if (!answer.value("success", false)) throw std::runtime_error("/dev/" + endpoint + " refused: " + body);
  return answer["result"];
}

}  // namespace testsupport
