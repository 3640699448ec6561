#include "Korvane/DateTime.h"

#include <cstdio>
#include <tuple>

namespace Korvane {
namespace {

// Reads 1 to `maxDigits` decimal digits at `pos`; none when there is no digit.
std::optional<int> ReadNumber(const std::string& text, std::size_t& pos, std::size_t maxDigits) {
  std::size_t digits = 0;
  int value = 0;
  while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

bool Expect(const std::string& text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValid(const platform::LocalTime& t) {
  return t.year >= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
}

}  // namespace

std::string FormatDateTime(std::chrono::system_clock::time_point when) {
  const platform::LocalTime t = platform::ToLocalTime(when);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::optional<platform::LocalTime> ParseDateTime(const std::string& text) {
  platform::LocalTime t;
  std::size_t pos = 0;
  auto year = ReadNumber(text, pos, 4);
  if (!year || !Expect(text, pos, '-')) return std::nullopt;
  auto month = ReadNumber(text, pos, 2);
  if (!month || !Expect(text, pos, '-')) return std::nullopt;
  auto day = ReadNumber(text, pos, 2);
  if (!day) return std::nullopt;
  t.year = *year, t.month = *month, t.day = *day;
  if (pos < text.size()) {
    if (!Expect(text, pos, ' ')) return std::nullopt;
    auto hour = ReadNumber(text, pos, 2);
    if (!hour || !Expect(text, pos, ':')) return std::nullopt;
    auto minute = ReadNumber(text, pos, 2);
    if (!minute) return std::nullopt;
    t.hour = *hour, t.minute = *minute;
    if (pos < text.size()) {
      if (!Expect(text, pos, ':')) return std::nullopt;
      auto second = ReadNumber(text, pos, 2);
      if (!second) return std::nullopt;
      t.second = *second;
    }
  }
  if (pos != text.size() || !IsValid(t)) return std::nullopt;
  return t;
}

bool NotLaterThan(const platform::LocalTime& a, const platform::LocalTime& b) {
  return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <=
         std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

}  // namespace Korvane
