// The program as the client's end-to-end tests start it: a child process on a free port that
// prints the port first and stops cleanly on SIGTERM and SIGINT.
#include <gtest/gtest.h>

#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "ServiceHarness.h"
#include "devservice/CommandLine.h"
#include "devservice/Seed.h"

extern char** environ;

namespace devtest {
namespace {

// A running vandrel-devservice with its standard output on a pipe.
class ChildService {
 public:
  explicit ChildService(std::vector<std::string> args) {
    args.insert(args.begin(), VANDREL_DEVSERVICE_PATH);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    out_ = fdopen(pipeFds[0], "r");
  }
  ~ChildService() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ != nullptr) fclose(out_);
  }
  std::string readLine() {
    char line[4096];
    return fgets(line, sizeof line, out_) != nullptr ? std::string(line) : std::string();
  }
  // Sends the signal and returns the exit status (-1 when it did not exit normally).
  int stopWith(int signal) {
    kill(pid_, signal);
    return exitStatus();
  }
  // Waits for the child to end by itself.
  int exitStatus() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
};

class Program : public ::testing::TestWithParam<int> {};

TEST_P(Program, PrintsItsPortFirstServesTheDemoAndStopsCleanly) {
  ChildService child({"--port", "0", "--db", ":memory:", "--seed", "demo"});
  const std::string first = child.readLine();
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(first.back(), '\n');
  const int port = std::stoi(first);
  ASSERT_GT(port, 0);
  EXPECT_EQ(std::to_string(port) + "\n", first) << "the first line is the port alone";

  httplib::Client client("127.0.0.1", port);
  client.set_url_encode(false);
  const Pairs pairs = {{"verify_for", "user"},
                       {"login_name", devservice::kDemoLoginName},
                       {"password", devservice::kDemoPassword}};
  // The child's clock is the computer's: sign with the local time now.
  const auto result =
      client.Get("/user/verify?" + SignedQuery(devservice::FormatLocalTime(std::time(nullptr)), pairs));
  ASSERT_TRUE(result);
  const Json answer = Envelope(Reply{result->status, result->body, ""}, false);
  EXPECT_TRUE(Succeeds(answer));
  EXPECT_EQ(answer["result"]["company_name"], devservice::kDemoCompanyName);

  EXPECT_EQ(child.stopWith(GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(OnSignal, Program, ::testing::Values(SIGTERM, SIGINT));

TEST(ProgramCommandLine, RefusesWrongOptionsWithExitCodeTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--port", "70000"}, {"--seed", "everything"}, {"--seed-fleet", "-3"}, {"--bogus", "1"},
      {"--db"}};
  for (const auto& args : cases) {
    ChildService child(args);
    EXPECT_EQ(child.exitStatus(), 2) << args[0];
  }
}

TEST(CommandLine, ReadsEveryOption) {
  const auto parsed = devservice::ParseCommandLine(
      {"--port", "0", "--db", "/tmp/x.db", "--seed", "demo", "--seed-fleet", "10000",
       "--auto-authorise", "15", "--update-dir", "/srv/update", "--host", "0.0.0.0"});
  ASSERT_TRUE(std::holds_alternative<devservice::CommandLine>(parsed));
  const auto& line = std::get<devservice::CommandLine>(parsed);
  EXPECT_EQ(line.port, 0);
  EXPECT_EQ(line.service.database, "/tmp/x.db");
  EXPECT_TRUE(line.seed_demo);
  EXPECT_EQ(line.seed_fleet, 10000);
  EXPECT_EQ(line.service.auto_authorise_seconds, 15);
  EXPECT_EQ(line.service.update_dir, "/srv/update");
  EXPECT_EQ(line.service.host, "0.0.0.0");
}

TEST(CommandLine, DefaultsServeTheClientsCompiledInAddress) {
  const auto parsed = devservice::ParseCommandLine({});
  ASSERT_TRUE(std::holds_alternative<devservice::CommandLine>(parsed));
  const auto& line = std::get<devservice::CommandLine>(parsed);
  EXPECT_EQ(line.port, 8610);
  EXPECT_EQ(line.service.database, ":memory:");
  EXPECT_EQ(line.service.host, "127.0.0.1");
  EXPECT_FALSE(line.seed_demo);
  EXPECT_FALSE(line.service.auto_authorise_seconds.has_value());
  EXPECT_EQ(line.service.update_dir, "");
}

}  // namespace
}  // namespace devtest
