// The command line of vandrel-devservice.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "devservice/ServiceOptions.h"

namespace devservice {

inline constexpr int kDefaultPort = 8610;

struct CommandLine {
  int port = kDefaultPort;
  ServiceOptions service;
  bool seed_demo = false;
  std::int64_t seed_fleet = 0;
  bool help = false;
};

// The options after the program name; an error text for a wrong command line.
std::variant<CommandLine, std::string> ParseCommandLine(const std::vector<std::string>& args);

// The update folder used without --update-dir: "update" next to a database file, when that
// folder exists; none for ":memory:".
std::string DefaultUpdateDir(const std::string& database);

std::string Usage();

}  // namespace devservice
