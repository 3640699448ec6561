#include "devservice/CommandLine.h"

#include <charconv>
#include <filesystem>

namespace devservice {
namespace {

bool ReadInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && at == end && value >= low && value <= high;
}

}  // namespace

std::string DefaultUpdateDir(const std::string& database) {
  if (database == ":memory:" || database.empty()) return std::string();
  const std::filesystem::path folder =
      std::filesystem::absolute(database).parent_path() / "update";
  std::error_code error;
  return std::filesystem::is_directory(folder, error) ? folder.string() : std::string();
}

std::variant<CommandLine, std::string> ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool updateDirGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      line.help = true;
      continue;
    }
    if (i + 1 >= args.size()) return "option " + option + " is unknown or lacks its value";
    const std::string& value = args[++i];
    std::int64_t number = 0;
    if (option == "--port") {
      if (!ReadInteger(value, 0, 65535, number)) return "--port needs a number from 0 to 65535";
      line.port = static_cast<int>(number);
    } else if (option == "--db") {
      line.service.database = value;
    } else if (option == "--seed") {
      if (value != "demo") return "--seed knows only \"demo\"";
      line.seed_demo = true;
    } else if (option == "--seed-fleet") {
      if (!ReadInteger(value, 0, 10000000, number)) return "--seed-fleet needs a vehicle count";
      line.seed_fleet = number;
    } else if (option == "--auto-authorise") {
      if (!ReadInteger(value, 0, 86400, number)) return "--auto-authorise needs seconds (0-86400)";
      line.service.auto_authorise_seconds = static_cast<int>(number);
    } else if (option == "--update-dir") {
      line.service.update_dir = value;
      updateDirGiven = true;
    } else if (option == "--host") {
      line.service.host = value;
    } else {
      return "unknown option " + option;
    }
  }
  if (!updateDirGiven) line.service.update_dir = DefaultUpdateDir(line.service.database);
  return line;
}

std::string Usage() {
  return "usage: vandrel-devservice [--port N] [--db FILE] [--seed demo] [--seed-fleet N]\n"
         "                          [--auto-authorise SECONDS] [--update-dir DIR] [--host ADDR]\n"
         "  --port N             port to listen on (default 8610; 0 picks a free one)\n"
         "  --db FILE            SQLite database (default :memory:)\n"
         "  --seed demo          add the demo company unless the database has it\n"
         "  --seed-fleet N       add N generated vehicles to the demo company\n"
         "  --auto-authorise S   open locating S seconds after an open-locate request\n"
         "  --update-dir DIR     files served under /client/update/\n"
         "                       (default: the folder \"update\" next to the database file)\n"
         "  --host ADDR          address to listen on (default 127.0.0.1)\n"
         "The first line written to standard output is the port.\n";
}

}  // namespace devservice
