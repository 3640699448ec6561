#include "devservice/Clock.h"

#include <cstdio>

namespace devservice {
namespace {

std::tm LocalParts(std::time_t at) {
  std::tm parts{};
  localtime_r(&at, &parts);
  return parts;
}

bool ReadDigits(const std::string& text, std::size_t at, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::time_t ServiceClock::now() const {
  std::lock_guard lock(mutex_);
  if (frozen_) return *frozen_;
  return std::time(nullptr) + offset_;
}

void ServiceClock::setOffset(std::time_t seconds) {
  std::lock_guard lock(mutex_);
  frozen_.reset();
  offset_ = seconds;
}

void ServiceClock::freezeAt(std::time_t at) {
  std::lock_guard lock(mutex_);
  frozen_ = at;
}

void ServiceClock::advance(std::time_t seconds) {
  std::lock_guard lock(mutex_);
  if (frozen_) {
    *frozen_ += seconds;
  } else {
    offset_ += seconds;
  }
}

void ServiceClock::reset() {
  std::lock_guard lock(mutex_);
  frozen_.reset();
  offset_ = 0;
}

std::string FormatLocalTime(std::time_t at) {
  const std::tm parts = LocalParts(at);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

std::string FormatLocalDate(std::time_t at) { return FormatLocalTime(at).substr(0, 10); }

std::optional<std::time_t> ParseLocalTime(const std::string& text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
      text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  int year, month, day, hour, minute, second;
  if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) ||
      !ReadDigits(text, 8, 2, day) || !ReadDigits(text, 11, 2, hour) ||
      !ReadDigits(text, 14, 2, minute) || !ReadDigits(text, 17, 2, second)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  const std::time_t at = std::mktime(&parts);
  // mktime normalises 2016-02-30 to March; such a text is not a real date.
  if (at == -1 || parts.tm_mday != day || parts.tm_mon != month - 1) return std::nullopt;
  return at;
}

}  // namespace devservice
