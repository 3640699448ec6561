// Settings of a running service that the command line or a test chooses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace devservice {

struct ServiceOptions {
  // SQLite file, or ":memory:" for a database that lives as long as the service.
  std::string database = ":memory:";
  // Files served under "/client/update/"; empty: none.
  std::string update_dir;
  // Locating opens by itself this many seconds after an open-locate request.
  std::optional<int> auto_authorise_seconds;
  // Open-locate requests per vehicle and day, and the least seconds between two of them.
  int open_locate_daily_limit = 3;
  int open_locate_interval_seconds = 60;
  // The price of one locate, in fen.
  std::int64_t locate_price_fen = 20;
  // Larger request bodies are refused.
  std::size_t max_body_bytes = 64 * 1024;
  std::string host = "127.0.0.1";
};

}  // namespace devservice
