// The start-up registration as an XDG autostart entry in a temporary HOME.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/AutoRun.h"
#include "settings/SettingsError.h"
#include "TempHome.h"

namespace fs = std::filesystem;
using testsupport::TempHome;

namespace {

class AutoRunTest : public testing::Test {
 protected:
  std::string EntryPath() const { return home.configHome() + "autostart/VandrelClient.desktop"; }

  TempHome home;
};

TEST_F(AutoRunTest, SetWritesAnEntryThatStartsTheExecutable) {
  SetAutoRun("/opt/vandrel/bin/vandrel", false);
  EXPECT_EQ(TempHome::ReadBytes(EntryPath()),
            "[Desktop Entry]\nType=Application\nName=VandrelClient\n"
            "Exec=\"/opt/vandrel/bin/vandrel\"\nPath=/opt/vandrel/bin/\nTerminal=false\n");
}

TEST_F(AutoRunTest, SetAgainReplacesThePath) {
  SetAutoRun("/old/vandrel", false);
  SetAutoRun("/new place/vandrel", false);
  const std::string entry = TempHome::ReadBytes(EntryPath()).value();
  EXPECT_NE(entry.find("Exec=\"/new place/vandrel\"\n"), std::string::npos);
  EXPECT_EQ(entry.find("/old/"), std::string::npos);
}

TEST_F(AutoRunTest, RemoveDeletesTheEntryOnly) {
  TempHome::WriteBytes(home.configHome() + "autostart/other.desktop", "[Desktop Entry]\n");
  SetAutoRun("/opt/vandrel", false);
  SetAutoRun("/opt/vandrel", true);
  EXPECT_FALSE(fs::exists(EntryPath()));
  EXPECT_TRUE(fs::exists(home.configHome() + "autostart/other.desktop"));
}

TEST_F(AutoRunTest, RemoveWithoutAnEntryChangesNothing) {
  EXPECT_NO_THROW(SetAutoRun("/opt/vandrel", true));
  EXPECT_FALSE(fs::exists(home.configHome() + "autostart"));
  TempHome::WriteBytes(home.configHome() + "autostart/other.desktop", "x");
  EXPECT_NO_THROW(SetAutoRun("/opt/vandrel", true));
  EXPECT_EQ(TempHome::ReadBytes(home.configHome() + "autostart/other.desktop"), "x");
}

TEST_F(AutoRunTest, AnUnwritableAutostartFolderFailsWithTheEntrysName) {
  TempHome::WriteBytes(home.configHome() + "autostart", "a file where the folder belongs");
  try {
    SetAutoRun("/opt/vandrel", false);
    FAIL() << "the entry was reported written";
  } catch (const ESettingsWrite& error) {
    EXPECT_EQ(error.target(), EntryPath());
  }
}

}  // namespace
