// The daily log file of service failures.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>

class TLogger {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  // Uses `directory` unchanged when it is not blank (it should end in a separator: file names
  // are appended to it as they are); otherwise the executable's folder + "log" + separator.
  // Creates the folder. Throws std::runtime_error with the message
  // "日志路径错误，日志类对象不能被创建" when it cannot be made.
  explicit TLogger(const std::string& directory, Clock clock = {});
  ~TLogger();

  TLogger(const TLogger&) = delete;
  TLogger& operator=(const TLogger&) = delete;

  // Appends one line "hh:nn:ss.zzz <prefix><text>\r\n" in code page 936 to "yyyymmdd.log"
  // for levels 2 and 3; levels 0 and 1 write nothing. Thread-safe. Throws when the file
  // cannot be opened or written (LogError absorbs that).
  void Write(const std::string& text, int level);

  const std::string& directory() const { return directory_; }
  const std::string& fileName() const { return fileName_; }

  // The prefix of a level, with its trailing blank ("[Error] " for 3).
  static const char* LevelPrefix(int level);

 private:
  std::mutex lock_;
  std::FILE* stream_ = nullptr;
  std::string directory_;
  std::string fileName_;
  Clock clock_;
};

extern TLogger* Logger;

// Creates Logger with the platform's default log folder unless it exists.
void CreateLogger();
// CreateLogger, then a level-3 line. Never throws: a line that cannot be written is dropped.
void LogError(const std::string& text);
// Destroys Logger, if any; a second call does nothing.
void FreeLogger();

// Tests point the logger at their own folder and clock. Replaces an existing Logger.
void CreateLoggerAt(const std::string& directory, TLogger::Clock clock = {});
