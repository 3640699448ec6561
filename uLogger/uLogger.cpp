// The daily log file: one line per failure, the file opened afresh for every line.
#include "uLogger/uLogger.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/platform.h"

TLogger* Logger = nullptr;

namespace {

const char* const kPathError = "日志路径错误，日志类对象不能被创建";

// Blank: nothing but blanks and control characters.
bool IsBlank(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte != 0x7F) return false;
  }
  return true;
}

std::string LogDirectoryFor(const std::string& directory) {
  if (!IsBlank(directory)) return directory;
  return platform::ExecutableDirectory() + "log" + platform::PathSeparator();
}

std::string DayFileName(const platform::LocalTime& t) {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d.log", t.year, t.month, t.day);
  return name;
}

std::string TimeOfDay(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second,
                t.millisecond);
  return text;
}

std::system_error FileError(const std::string& what, const std::string& path) {
  return std::system_error(errno, std::generic_category(), what + " " + path);
}

}  // namespace

TLogger::TLogger(const std::string& directory, Clock clock)
    : directory_(LogDirectoryFor(directory)), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::system_clock::now(); };
  if (!platform::DirectoryExists(directory_) && !platform::CreateDirectories(directory_))
    throw std::runtime_error(kPathError);
}

TLogger::~TLogger() {
  if (stream_) std::fclose(stream_);
}

const char* TLogger::LevelPrefix(int level) {
  switch (level) {
    case 0:
      return "[Information] ";
    case 1:
      return "[Notice] ";
    case 2:
      return "[Warning] ";
    case 3:
      return "[Error] ";
    default:
      return "";
  }
}

void TLogger::Write(const std::string& text, int level) {
  std::lock_guard<std::mutex> guard(lock_);
  if (level < 2) return;

  // One reading of the clock names both the day's file and the line's time.
  const platform::LocalTime now = platform::ToLocalTime(clock_());
  const std::string dayFile = DayFileName(now);
  if (dayFile != fileName_) fileName_ = dayFile;

  const std::string path = directory_ + fileName_;
  const bool existed = platform::FileExists(path);
  if (stream_) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  stream_ = platform::OpenAppend(path, existed);
  if (!stream_) throw FileError("cannot open log file", path);

  const std::string line =
      TimeOfDay(now) + " " + LevelPrefix(level) + platform::Utf8ToCp936(text) + "\r\n";
  if (std::fwrite(line.data(), 1, line.size(), stream_) != line.size() || std::fflush(stream_) != 0)
    throw FileError("cannot write log file", path);
}

void CreateLogger() {
  if (!Logger) Logger = new TLogger(platform::DefaultLogDirectory());
}

void LogError(const std::string& text) {
  try {
    CreateLogger();
    Logger->Write(text, 3);
  } catch (...) {
    // The failure handlers that log must still return their results: the line is dropped.
  }
}

void FreeLogger() {
  delete Logger;
  Logger = nullptr;
}

void CreateLoggerAt(const std::string& directory, TLogger::Clock clock) {
  TLogger* replacement = new TLogger(directory, std::move(clock));
  delete Logger;
  Logger = replacement;
}
