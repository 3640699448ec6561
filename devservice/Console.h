// The service's console: the lines an operator reads (SMS sent, codes, authorisations).
// Lines go to a stream and are kept in memory, so that tests can read what was "sent".
#pragma once

#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace devservice {

class Console {
 public:
  // `out` may be nullptr: the lines are then only kept.
  explicit Console(std::ostream* out) : out_(out) {}

  void line(const std::string& text);
  // The kept lines, oldest first (the newest 1000).
  std::vector<std::string> lines() const;

 private:
  static constexpr std::size_t kKept = 1000;
  mutable std::mutex mutex_;
  std::ostream* out_;
  std::deque<std::string> kept_;
};

}  // namespace devservice
