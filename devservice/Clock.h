// The service's clock: the computer's time, optionally shifted or frozen so that tests and
// demos can move through time-dependent rules (time stamps, daily limits, waiting periods).
#pragma once

#include <ctime>
#include <mutex>
#include <optional>
#include <string>

namespace devservice {

class ServiceClock {
 public:
  // Seconds since the epoch, as the service sees them.
  std::time_t now() const;

  // The clock runs on from the computer's time shifted by `seconds`.
  void setOffset(std::time_t seconds);
  // The clock stands still at `at` until it is advanced, shifted or released.
  void freezeAt(std::time_t at);
  // Moves the clock by `seconds`, frozen or not.
  void advance(std::time_t seconds);
  // Back to the computer's time.
  void reset();

 private:
  mutable std::mutex mutex_;
  std::time_t offset_ = 0;
  std::optional<std::time_t> frozen_;
};

// Local time as "yyyy-mm-dd hh:nn:ss".
std::string FormatLocalTime(std::time_t at);
// Local date as "yyyy-mm-dd".
std::string FormatLocalDate(std::time_t at);
// Reads "yyyy-mm-dd hh:nn:ss" (exactly that shape, a real date and time) as local time.
std::optional<std::time_t> ParseLocalTime(const std::string& text);

}  // namespace devservice
