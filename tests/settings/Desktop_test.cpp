// The desktop section of the platform layer on Linux: the XDG folders, the URL handler and the
// LC_TIME date format.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "TempHome.h"

namespace fs = std::filesystem;
using testsupport::SavedVariable;
using testsupport::TempHome;

namespace {

TEST(DesktopFoldersTest, SettingsAndConfigFoldersFollowXdgConfigHome) {
  TempHome home;
  EXPECT_EQ(platform::UserConfigDirectory(), home.configHome());
  EXPECT_EQ(platform::SettingsDirectory(), home.configHome() + "KorvaneVandrel/");

  setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(platform::UserConfigDirectory(), home.home() + ".config/");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(platform::SettingsDirectory(), home.home() + ".config/KorvaneVandrel/");
}

TEST(DesktopFoldersTest, TheDesktopFolderComesFromTheFirstSourceThatNamesOne) {
  struct Case {
    const char* label;
    const char* variable;   // XDG_DESKTOP_DIR, nullptr for unset
    const char* userDirs;   // contents of user-dirs.dirs, nullptr for no file
    std::string expected;   // below HOME
  };
  const Case cases[] = {
      {"nothing configured", nullptr, nullptr, "Desktop/"},
      {"user-dirs.dirs with $HOME", nullptr, "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n", "桌面/"},
      {"user-dirs.dirs among other lines", nullptr,
       "# comment\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n  XDG_DESKTOP_DIR=\"$HOME/Desk\"\n",
       "Desk/"},
      {"user-dirs.dirs with a relative path", nullptr, "XDG_DESKTOP_DIR=\"Desk\"\n",
       "Desktop/"},
      {"the variable wins", "/ABS/", "XDG_DESKTOP_DIR=\"$HOME/Desk\"\n", "/ABS/"},
  };
  for (const Case& c : cases) {
    TempHome home;
    if (c.variable) setenv("XDG_DESKTOP_DIR", c.variable, 1);
    if (c.userDirs) TempHome::WriteBytes(home.configHome() + "user-dirs.dirs", c.userDirs);
    const std::string expected = c.expected[0] == '/' ? c.expected : home.home() + c.expected;
    EXPECT_EQ(platform::DesktopDirectory(), expected) << c.label;
  }
}

TEST(DesktopDatesTest, TheCLocaleWritesYearMonthDayWithASlash) {
  SavedVariable all("LC_ALL");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(platform::DateSeparator(), '/');
  EXPECT_EQ(platform::FormatShortDate(platform::LocalTime{2024, 5, 4}), "2024/05/04");
  EXPECT_EQ(platform::FormatShortDate(platform::LocalTime{1999, 12, 31}), "1999/12/31");
}

TEST(OpenUrlTest, HandsTheAddressToXdgOpenAsOneArgument) {
  TempHome home;
  const std::string bin = home.home() + "bin/";
  const std::string record = home.home() + "opened";
  TempHome::WriteBytes(bin + "xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " + record +
                                             ".part && mv " + record + ".part " + record + "\n");
  fs::permissions(bin + "xdg-open", fs::perms::owner_all);
  SavedVariable path("PATH");
  setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);

  const std::string url = "http://127.0.0.1:8610/user/login_by_api?token=a b&url_for=x";
  ASSERT_TRUE(platform::OpenUrl(url));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(record) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(TempHome::ReadBytes(record), "1|" + url);
}

TEST(OpenUrlTest, FailsWhenNoHandlerCanBeStarted) {
  TempHome home;
  SavedVariable path("PATH");
  setenv("PATH", (home.home() + "empty-bin").c_str(), 1);
  EXPECT_FALSE(platform::OpenUrl("http://127.0.0.1/"));
}

}  // namespace
