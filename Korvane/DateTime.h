// Date and time texts of the service: "yyyy-mm-dd hh:nn:ss", local time.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace Korvane {

// The local time of `when` as "yyyy-mm-dd hh:nn:ss".
std::string FormatDateTime(std::chrono::system_clock::time_point when);

// Reads "yyyy-mm-dd" with an optional " hh:nn" or " hh:nn:ss" (date order year-month-day,
// separators "-" and ":"). None when the text is not a valid date and time.
std::optional<platform::LocalTime> ParseDateTime(const std::string& text);

// True when a is earlier than or equal to b, to the second.
bool NotLaterThan(const platform::LocalTime& a, const platform::LocalTime& b);

}  // namespace Korvane
