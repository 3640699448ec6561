// Local time fields and points in time, in fixed time zones.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <string>

#include "support/TempDir.h"
#include "platform/platform.h"

namespace {

using namespace std::chrono;

class LocalTimeTest : public ::testing::Test {
 protected:
  void UseZone(const char* zone) {
    tz_.emplace("TZ", zone);
    tzset();
  }
  void TearDown() override {
    tz_.reset();
    tzset();
  }
  static system_clock::time_point At(long long secondsSinceEpoch, int millis = 0) {
    return system_clock::time_point(seconds(secondsSinceEpoch) + milliseconds(millis));
  }

 private:
  std::optional<ScopedEnv> tz_;
};

void ExpectFields(const platform::LocalTime& t, int y, int mo, int d, int h, int mi, int s,
                  int ms) {
  EXPECT_EQ(t.year, y);
  EXPECT_EQ(t.month, mo);
  EXPECT_EQ(t.day, d);
  EXPECT_EQ(t.hour, h);
  EXPECT_EQ(t.minute, mi);
  EXPECT_EQ(t.second, s);
  EXPECT_EQ(t.millisecond, ms);
}

TEST_F(LocalTimeTest, FieldsFollowTheTimeZone) {
  const auto when = At(1709611445, 67);  // 2024-03-05 04:04:05.067 UTC
  UseZone("UTC0");
  ExpectFields(platform::ToLocalTime(when), 2024, 3, 5, 4, 4, 5, 67);
  UseZone("CST-8");
  ExpectFields(platform::ToLocalTime(when), 2024, 3, 5, 12, 4, 5, 67);
  EXPECT_EQ(platform::FromLocalTime({2024, 3, 5, 12, 4, 5, 67}), when);
}

TEST_F(LocalTimeTest, MillisecondsBeforeTheEpochRoundDown) {
  UseZone("UTC0");
  ExpectFields(platform::ToLocalTime(At(-1, 250)), 1969, 12, 31, 23, 59, 59, 250);
}

TEST_F(LocalTimeTest, RoundTripKeepsEveryField) {
  UseZone("CST-8");
  const platform::LocalTime table[] = {
      {2024, 2, 29, 23, 59, 59, 999},  // leap day, last millisecond
      {2023, 12, 31, 0, 0, 0, 0},     {2024, 1, 1, 0, 0, 0, 1},
      {2038, 1, 19, 11, 14, 8, 500},  // past 32-bit seconds
      {2000, 6, 15, 12, 30, 45, 123},
  };
  for (const platform::LocalTime& local : table) {
    const auto when = platform::FromLocalTime(local);
    const platform::LocalTime back = platform::ToLocalTime(when);
    SCOPED_TRACE(testing::Message() << local.year << "-" << local.month << "-" << local.day);
    ExpectFields(back, local.year, local.month, local.day, local.hour, local.minute, local.second,
                 local.millisecond);
  }
}

TEST_F(LocalTimeTest, InvalidFieldsGiveMinusOneSecond) {
  UseZone("UTC0");
  const auto invalid = system_clock::time_point{} - seconds(1);
  const platform::LocalTime table[] = {
      {2023, 2, 29, 0, 0, 0, 0},    // no leap year
      {2024, 13, 1, 0, 0, 0, 0},    // month 13
      {2024, 4, 31, 0, 0, 0, 0},    // April has 30 days
      {2024, 1, 1, 24, 0, 0, 0},    // hour 24
      {2024, 1, 1, 0, 60, 0, 0},    // minute 60
      {2024, 1, 1, 0, 0, 0, 1000},  // millisecond 1000
      {2024, 1, 0, 0, 0, 0, 0},     // day 0
  };
  for (const platform::LocalTime& local : table) {
    SCOPED_TRACE(testing::Message()
                 << local.year << "-" << local.month << "-" << local.day << " " << local.hour << ":"
                 << local.minute << " ." << local.millisecond);
    EXPECT_EQ(platform::FromLocalTime(local), invalid);
  }
}

TEST_F(LocalTimeTest, ATimeSkippedByAClockChangeIsInvalid) {
  UseZone("CET-1CEST,M3.5.0,M10.5.0/3");  // 2024-03-31 02:00 jumps to 03:00
  EXPECT_EQ(platform::FromLocalTime({2024, 3, 31, 2, 30, 0, 0}),
            system_clock::time_point{} - seconds(1));
  EXPECT_EQ(platform::FromLocalTime({2024, 3, 31, 3, 30, 0, 0}), At(1711848600));
}

}  // namespace
