// The sign-in settings: loadConfig and saveConfig against config.ini in a temporary HOME.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "TempHome.h"

namespace fs = std::filesystem;
using testsupport::TempHome;

namespace {

class ConfigTest : public testing::Test {
 protected:
  TempHome home;
};

TEST_F(ConfigTest, FirstStartGivesEmptyBoxesAndUncheckedChoices) {
  const TConfig config = loadConfig();
  EXPECT_EQ(config.user, "");
  EXPECT_EQ(config.password, "");
  EXPECT_FALSE(config.remember);
  EXPECT_FALSE(config.autologin);
}

TEST_F(ConfigTest, SavedSettingsLoadBack) {
  saveConfig(TConfig{"13800138000", " pass word ", true, true});
  const TConfig config = loadConfig();
  EXPECT_EQ(config.user, "13800138000");
  EXPECT_EQ(config.password, "pass word");  // the format strips blanks around values
  EXPECT_TRUE(config.remember);
  EXPECT_TRUE(config.autologin);
}

TEST_F(ConfigTest, KeysAreWrittenInTheirOrder) {
  saveConfig(TConfig{"物流公司", "pw", false, true});
  EXPECT_EQ(TempHome::ReadBytes(home.settingsFile()),
            "[KORVANE]\r\nuser=\xCE\xEF\xC1\xF7\xB9\xAB\xCB\xBE\r\npassword=pw\r\n"
            "remember=0\r\nautologin=1\r\n");
}

TEST_F(ConfigTest, SavingWithoutRememberErasesTheSavedPassword) {
  saveConfig(TConfig{"user1", "secret", true, false});
  // The login window fills the record with an empty password when "记住密码" is unchecked.
  saveConfig(TConfig{"user1", "", false, false});
  EXPECT_EQ(TIniFile(SettingsFilePath()).ReadString("KORVANE", "password", "missing"), "");
  EXPECT_EQ(TempHome::ReadBytes(home.settingsFile())->find("secret"), std::string::npos);
}

TEST_F(ConfigTest, SectionAndKeyNamesMatchWithoutCase) {
  TempHome::WriteBytes(home.settingsFile(),
                       "[Korvane]\r\nUSER=abc\r\nPassWord=x\r\nRemember=1\r\nAUTOLOGIN=0x1\r\n");
  const TConfig config = loadConfig();
  EXPECT_EQ(config.user, "abc");
  EXPECT_EQ(config.password, "x");
  EXPECT_TRUE(config.remember);
  EXPECT_TRUE(config.autologin);
}

TEST_F(ConfigTest, AFailedWriteLeavesTheFollowingKeysUnwritten) {
  saveConfig(TConfig{"old", "old-pw", true, true});
  fs::permissions(home.settingsFile(), fs::perms::owner_read);
  EXPECT_THROW(saveConfig(TConfig{"new", "", false, false}), ESettingsWrite);
  const TConfig config = loadConfig();
  EXPECT_EQ(config.user, "old");
  EXPECT_EQ(config.password, "old-pw");
  EXPECT_TRUE(config.remember);
}

}  // namespace
