// The daily log file, written into temporary folders with a clock the tests set.
#include "uLogger/uLogger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/TempDir.h"

namespace {

using std::chrono::system_clock;

const char* const kPathError = "日志路径错误，日志类对象不能被创建";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::size_t EntriesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

class LoggerTest : public ::testing::Test {
 protected:
  LoggerTest() : tz_("TZ", "CST-8"), logDir_(dir_.path() + "logs/") { tzset(); }
  ~LoggerTest() override { FreeLogger(); }

  // The clock the logger reads: the tests move it.
  TLogger::Clock Clock() {
    return [now = now_] { return *now; };
  }
  void SetTime(int y, int mo, int d, int h, int mi, int s, int ms) {
    *now_ = platform::FromLocalTime({y, mo, d, h, mi, s, ms});
  }
  std::string LogPath(const char* fileName) const { return logDir_ + fileName; }

  ScopedEnv tz_;
  TempDir dir_;
  std::string logDir_;
  std::shared_ptr<system_clock::time_point> now_ = std::make_shared<system_clock::time_point>(
      platform::FromLocalTime({2024, 3, 5, 13, 4, 5, 67}));
};

// ---- Levels and line format ------------------------------------------------------------

struct LevelCase {
  int level;
  const char* prefix;
  bool written;
};

std::ostream& operator<<(std::ostream& out, const LevelCase& c) {
  return out << "level " << c.level;
}

class LoggerLevels : public LoggerTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LoggerLevels, WritesOnlyWarningsAndErrorsWithTheirPrefix) {
  const LevelCase& c = GetParam();
  EXPECT_STREQ(TLogger::LevelPrefix(c.level), c.prefix);
  TLogger logger(logDir_, Clock());
  logger.Write("text", c.level);
  if (c.written) {
    EXPECT_EQ(ReadFile(LogPath("20240305.log")),
              std::string("13:04:05.067 ") + c.prefix + "text\r\n");
  } else {
    EXPECT_EQ(EntriesIn(logDir_), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, LoggerLevels,
                         ::testing::Values(LevelCase{0, "[Information] ", false},
                                           LevelCase{1, "[Notice] ", false},
                                           LevelCase{2, "[Warning] ", true},
                                           LevelCase{3, "[Error] ", true}));

TEST_F(LoggerTest, LineIsTimePrefixCp936TextAndCrLf) {
  SetTime(2024, 3, 5, 9, 8, 7, 6);
  TLogger logger(logDir_, Clock());
  logger.Write("请求服务器异常 - EReadTimeout error raised, with message : 读取超时", 3);
  EXPECT_EQ(logger.fileName(), "20240305.log");
  EXPECT_EQ(ReadFile(LogPath("20240305.log")),
            "09:08:07.006 [Error] "
            "\xC7\xEB\xC7\xF3\xB7\xFE\xCE\xF1\xC6\xF7\xD2\xEC\xB3\xA3"
            " - EReadTimeout error raised, with message : "
            "\xB6\xC1\xC8\xA1\xB3\xAC\xCA\xB1"
            "\r\n");
}

// ---- Daily files -----------------------------------------------------------------------

TEST_F(LoggerTest, FirstLineCreatesTheDaysFileLaterLinesAppendInOrder) {
  TLogger logger(logDir_, Clock());
  ASSERT_FALSE(platform::FileExists(LogPath("20240305.log")));
  logger.Write("one", 3);
  EXPECT_EQ(ReadFile(LogPath("20240305.log")), "13:04:05.067 [Error] one\r\n");
  SetTime(2024, 3, 5, 13, 4, 6, 0);
  logger.Write("two", 2);
  SetTime(2024, 3, 5, 22, 0, 0, 999);
  logger.Write("three", 3);
  EXPECT_EQ(ReadFile(LogPath("20240305.log")),
            "13:04:05.067 [Error] one\r\n"
            "13:04:06.000 [Warning] two\r\n"
            "22:00:00.999 [Error] three\r\n");
}

TEST_F(LoggerTest, LinesOfAnEarlierRunAreKept) {
  ASSERT_TRUE(platform::CreateDirectories(logDir_));
  WriteFile(LogPath("20240305.log"), "earlier\r\n");
  TLogger logger(logDir_, Clock());
  logger.Write("now", 3);
  EXPECT_EQ(ReadFile(LogPath("20240305.log")), "earlier\r\n13:04:05.067 [Error] now\r\n");
}

struct MidnightCase {
  platform::LocalTime before, after;
  const char* oldFile;
  const char* newFile;
};

std::ostream& operator<<(std::ostream& out, const MidnightCase& c) {
  return out << c.oldFile << " to " << c.newFile;
}

class LoggerMidnight : public LoggerTest, public ::testing::WithParamInterface<MidnightCase> {};

TEST_P(LoggerMidnight, LineAfterMidnightGoesToTheNewDaysFile) {
  const MidnightCase& c = GetParam();
  *now_ = platform::FromLocalTime(c.before);
  TLogger logger(logDir_, Clock());
  logger.Write("late", 3);
  const std::string oldContent = ReadFile(logDir_ + c.oldFile);
  EXPECT_EQ(oldContent, "23:59:59.999 [Error] late\r\n");

  *now_ = platform::FromLocalTime(c.after);
  logger.Write("early", 3);
  EXPECT_EQ(logger.fileName(), c.newFile);
  EXPECT_EQ(ReadFile(logDir_ + c.newFile), "00:00:00.000 [Error] early\r\n");
  EXPECT_EQ(ReadFile(logDir_ + c.oldFile), oldContent);
}

INSTANTIATE_TEST_SUITE_P(Days, LoggerMidnight,
                         ::testing::Values(MidnightCase{{2024, 3, 5, 23, 59, 59, 999},
                                                        {2024, 3, 6, 0, 0, 0, 0},
                                                        "20240305.log",
                                                        "20240306.log"},
                                           MidnightCase{{2024, 2, 29, 23, 59, 59, 999},
                                                        {2024, 3, 1, 0, 0, 0, 0},
                                                        "20240229.log",
                                                        "20240301.log"},
                                           MidnightCase{{2023, 12, 31, 23, 59, 59, 999},
                                                        {2024, 1, 1, 0, 0, 0, 0},
                                                        "20231231.log",
                                                        "20240101.log"}));

TEST_F(LoggerTest, FileDeletedBetweenTwoWritesIsCreatedAgain) {
  TLogger logger(logDir_, Clock());
  logger.Write("first", 3);
  ASSERT_TRUE(std::filesystem::remove(LogPath("20240305.log")));
  logger.Write("second", 3);
  EXPECT_EQ(ReadFile(LogPath("20240305.log")), "13:04:05.067 [Error] second\r\n");
}

TEST_F(LoggerTest, FileRenamedBetweenTwoWritesKeepsItsLinesAndANewFileStarts) {
  TLogger logger(logDir_, Clock());
  logger.Write("first", 3);
  std::filesystem::rename(LogPath("20240305.log"), LogPath("saved.log"));
  logger.Write("second", 3);
  EXPECT_EQ(ReadFile(LogPath("saved.log")), "13:04:05.067 [Error] first\r\n");
  EXPECT_EQ(ReadFile(LogPath("20240305.log")), "13:04:05.067 [Error] second\r\n");
}

// ---- Folders ---------------------------------------------------------------------------

TEST_F(LoggerTest, CreatesMissingFolders) {
  const std::string nested = dir_.path() + "a/b/c/";
  TLogger logger(nested, Clock());
  EXPECT_EQ(logger.directory(), nested);
  EXPECT_TRUE(platform::DirectoryExists(nested));
}

TEST_F(LoggerTest, DirectoryWithSurroundingBlanksIsKeptUntrimmed) {
  const std::string folder = dir_.path() + "with blank /";
  TLogger logger(folder, Clock());
  EXPECT_EQ(logger.directory(), folder);
  logger.Write("x", 3);
  EXPECT_TRUE(platform::FileExists(folder + "20240305.log"));
}

TEST_F(LoggerTest, BlankDirectoryUsesLogFolderBesideTheExecutable) {
  const std::string expected = platform::ExecutableDirectory() + "log/";
  SetTime(1999, 1, 2, 3, 4, 5, 6);  // a day no other run writes
  for (const std::string& blank :
       {std::string(), std::string("   "), std::string("\t\r\n"), std::string(" \x01\x7F ")}) {
    TLogger logger(blank, Clock());
    EXPECT_EQ(logger.directory(), expected);
    EXPECT_TRUE(platform::DirectoryExists(expected));
  }
  {
    TLogger logger("", Clock());
    logger.Write("beside the executable", 3);
  }
  const std::string file = expected + "19990102.log";
  EXPECT_EQ(ReadFile(file), "03:04:05.006 [Error] beside the executable\r\n");
  std::filesystem::remove(file);
}

TEST_F(LoggerTest, UncreatableDirectoryThrowsThePathError) {
  WriteFile(dir_.path() + "plain", "not a folder");
  for (const std::string& folder : {dir_.path() + "plain/", dir_.path() + "plain/sub/"}) {
    try {
      TLogger logger(folder, Clock());
      ADD_FAILURE() << "no error for " << folder;
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), kPathError);
    }
  }
}

TEST_F(LoggerTest, FailedReplacementKeepsTheCurrentLogger) {
  CreateLoggerAt(logDir_, Clock());
  TLogger* current = Logger;
  WriteFile(dir_.path() + "plain", "");
  EXPECT_THROW(CreateLoggerAt(dir_.path() + "plain/sub/", Clock()), std::runtime_error);
  EXPECT_EQ(Logger, current);
}

// ---- Failed lines ----------------------------------------------------------------------

class LoggerUnwritable : public LoggerTest {
 protected:
  // Replaces the log folder by a regular file of the same name: no file can be made in it.
  void BlockLogFolder() {
    std::filesystem::remove_all(logDir_);
    WriteFile(logDir_.substr(0, logDir_.size() - 1), "");
  }
  void UnblockLogFolder() {
    std::filesystem::remove(logDir_.substr(0, logDir_.size() - 1));
    ASSERT_TRUE(platform::CreateDirectories(logDir_));
  }
};

TEST_F(LoggerUnwritable, WriteRaisesTheFileError) {
  TLogger logger(logDir_, Clock());
  logger.Write("before", 3);
  BlockLogFolder();
  EXPECT_THROW(logger.Write("lost", 3), std::system_error);
  // Levels that write nothing do not touch the file.
  EXPECT_NO_THROW(logger.Write("ignored", 1));
}

TEST_F(LoggerUnwritable, LogErrorDropsTheLineAndLaterLinesArrive) {
  CreateLoggerAt(logDir_, Clock());
  BlockLogFolder();
  EXPECT_NO_THROW(LogError("lost"));
  UnblockLogFolder();
  LogError("kept");  // the lock was released by the failed line
  EXPECT_EQ(ReadFile(LogPath("20240305.log")), "13:04:05.067 [Error] kept\r\n");
}

TEST_F(LoggerUnwritable, LogErrorDropsTheLineWhenTheLoggerCannotBeCreated) {
  WriteFile(dir_.path() + "plain", "");
  ScopedEnv state("XDG_STATE_HOME", (dir_.path() + "plain/state").c_str());
  FreeLogger();
  EXPECT_NO_THROW(LogError("lost"));
  EXPECT_EQ(Logger, nullptr);
}

// ---- The program-wide logger -----------------------------------------------------------

TEST_F(LoggerTest, LogErrorCreatesTheLoggerInTheDefaultFolder) {
  ScopedEnv state("XDG_STATE_HOME", (dir_.path() + "state").c_str());
  FreeLogger();
  LogError("默认");
  ASSERT_NE(Logger, nullptr);
  EXPECT_EQ(Logger->directory(), dir_.path() + "state/KorvaneVandrel/");
  const std::string content = ReadFile(Logger->directory() + Logger->fileName());
  const std::string tail = " [Error] \xC4\xAC\xC8\xCF\r\n";  // "默认" in code page 936
  ASSERT_EQ(content.size(), 12 + tail.size()) << content;
  EXPECT_TRUE(std::regex_match(content.substr(0, 12), std::regex(R"(\d\d:\d\d:\d\d\.\d{3})")));
  EXPECT_EQ(content.substr(12), tail);
}

TEST_F(LoggerTest, CreateLoggerKeepsAnExistingLogger) {
  CreateLoggerAt(logDir_, Clock());
  TLogger* current = Logger;
  CreateLogger();
  EXPECT_EQ(Logger, current);
  EXPECT_EQ(Logger->directory(), logDir_);
}

TEST_F(LoggerTest, FreeLoggerTwiceReleasesOnce) {
  CreateLoggerAt(logDir_, Clock());
  LogError("x");
  FreeLogger();
  EXPECT_EQ(Logger, nullptr);
  FreeLogger();
  EXPECT_EQ(Logger, nullptr);
}

// ---- Threads ---------------------------------------------------------------------------

TEST_F(LoggerTest, ConcurrentWritersGiveWholeLinesInEachThreadsOrder) {
  constexpr int kThreads = 8, kLines = 200;
  // The clock is read inside the lock: it notes how many writers are inside at once and
  // dawdles a little to give a missing lock every chance to show.
  std::atomic<int> inside{0}, mostInside{0};
  CreateLoggerAt(logDir_, [&, now = now_] {
    const int n = ++inside;
    int most = mostInside.load();
    while (n > most && !mostInside.compare_exchange_weak(most, n)) {
    }
    std::this_thread::sleep_for(std::chrono::microseconds(20));
    --inside;
    return *now;
  });
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i)
        LogError("线程 " + std::to_string(t) + " 行 " + std::to_string(i));
    });
  for (std::thread& thread : threads) thread.join();

  const std::string content = ReadFile(LogPath("20240305.log"));
  // "线程 " and " 行 " in code page 936.
  const std::regex line("13:04:05\\.067 \\[Error\\] \xCF\xDF\xB3\xCC (\\d+) \xD0\xD0 (\\d+)");
  std::vector<int> next(kThreads, 0);
  int count = 0;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "unterminated line at byte " << start;
    const std::string text = content.substr(start, end - start);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, line)) << "broken line: " << text;
    const int t = std::stoi(m[1]), i = std::stoi(m[2]);
    ASSERT_LT(t, kThreads);
    EXPECT_EQ(i, next[t]) << "thread " << t;
    next[t] = i + 1;
    ++count;
    start = end + 2;
  }
  EXPECT_EQ(count, kThreads * kLines);
  EXPECT_EQ(mostInside.load(), 1);
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kLines);
}

}  // namespace
