// config.ini through TIniFile in a temporary HOME: defaults, value encodings, code page 936,
// the file's permissions and atomic replacement, and writes that must fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/IniFile.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "TempHome.h"

namespace fs = std::filesystem;
using testsupport::TempHome;

namespace {

struct IntegerCase {
  const char* text;
  int defaultValue;
  int expected;
};

TEST(ParseProfileIntegerTest, ReadsDecimalAndHexadecimalAndFallsBackOnAnythingElse) {
  const IntegerCase cases[] = {
      {"12", 11, 12},          {"0", 11, 0},           {"-3", 11, -3},
      {"+7", 11, 7},           {"0x10", 11, 16},       {"0X1f", 11, 31},
      {"0xFFFFFFFF", 0, -1},   {"0x7FFFFFFF", 0, 2147483647},
      {"2147483647", 0, 2147483647},                   {"-2147483648", 0, -2147483647 - 1},
      {"2147483648", 5, 5},    {"0x100000000", 5, 5},  {"abc", 11, 11},
      {"", 11, 11},            {"12abc", 11, 11},      {"1.5", 11, 11},
      {"0x", 11, 11},          {"0xG", 11, 11},        {"0x-5", 11, 11},
      {"--1", 11, 11},         {"-", 11, 11},          {"1 2", 11, 11},
  };
  for (const IntegerCase& c : cases)
    EXPECT_EQ(ParseProfileInteger(c.text, c.defaultValue), c.expected) << '"' << c.text << '"';
}

class IniFileTest : public testing::Test {
 protected:
  void WriteSettings(const std::string& text) { TempHome::WriteBytes(home.settingsFile(), text); }
  std::string SettingsBytes() const { return TempHome::ReadBytes(home.settingsFile()).value(); }

  TempHome home;
};

TEST_F(IniFileTest, TheSettingsFileLivesInTheConfigHome) {
  EXPECT_EQ(SettingsFilePath(), home.settingsFile());
}

TEST_F(IniFileTest, AMissingFileGivesEveryDefault) {
  const TIniFile ini(SettingsFilePath());
  EXPECT_EQ(ini.ReadString("KORVANE", "user", ""), "");
  EXPECT_EQ(ini.ReadString("KORVANE", "membershipnotify", "0"), "0");
  EXPECT_EQ(ini.ReadInteger("GRID", "fontsize", 11), 11);
  EXPECT_EQ(ini.ReadInteger("GRID", "sortby", 1), 1);
  EXPECT_EQ(ini.ReadInteger("GRID", "col0", 0), 0);
  EXPECT_FALSE(ini.ReadBool("GRID", "autocolwidth", false));
  EXPECT_TRUE(ini.ReadBool("GRID", "autocolwidth", true));
  EXPECT_FALSE(fs::exists(home.settingsFile())) << "reading must not create the file";
}

struct StoredCase {
  const char* stored;      // the line in section GRID
  int integer;             // ReadInteger("GRID", "v", 11)
  bool boolean;            // ReadBool("GRID", "v", true)
};

TEST_F(IniFileTest, StoredTextsReadAsIntegersAndBooleans) {
  const StoredCase cases[] = {
      {"v=12", 12, true},     {"v = 14 ", 14, true},   {"v=abc", 11, true},
      {"v=", 11, true},       {"v=0x10", 16, true},    {"v=0", 0, false},
      {"v=0x0", 0, false},    {"v=2", 2, true},        {"v=-1", -1, true},
      {"V=9", 9, true},       {"x=5", 11, true},
  };
  for (const StoredCase& c : cases) {
    WriteSettings(std::string("[grid]\r\n") + c.stored + "\r\n");
    const TIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadInteger("GRID", "v", 11), c.integer) << c.stored;
    EXPECT_EQ(ini.ReadBool("GRID", "v", true), c.boolean) << c.stored;
  }
}

TEST_F(IniFileTest, BlanksAroundAPasswordAreStripped) {
  TIniFile ini(SettingsFilePath());
  ini.WriteString("KORVANE", "password", "  secret word \t");
  EXPECT_EQ(ini.ReadString("KORVANE", "password", ""), "secret word");
}

TEST_F(IniFileTest, ChineseValuesAreCodePage936BytesInTheFile) {
  TIniFile ini(SettingsFilePath());
  ini.WriteString("KORVANE", "user", "张三");
  EXPECT_NE(SettingsBytes().find("user=\xD5\xC5\xC8\xFD\r\n"), std::string::npos);
  EXPECT_EQ(ini.ReadString("KORVANE", "user", ""), "张三");

  WriteSettings("[KORVANE]\r\nuser=\xD5\xE3\xBD\xAD\r\n");  // 浙江 written by another program
  EXPECT_EQ(ini.ReadString("KORVANE", "user", ""), "浙江");
}

TEST_F(IniFileTest, EncodingsOfTheWrittenValues) {
  TIniFile ini(SettingsFilePath());
  ini.WriteBool("GRID", "autocolwidth", true);
  ini.WriteBool("GRID", "autorowheigth", false);
  ini.WriteInteger("GRID", "col4", -25);
  ini.WriteDate("KORVANE", "rebatenotify", platform::LocalTime{2024, 5, 4});
  const std::string sep(1, platform::DateSeparator());
  EXPECT_EQ(SettingsBytes(),
            "[GRID]\r\nautocolwidth=1\r\nautorowheigth=0\r\ncol4=-25\r\n"
            "[KORVANE]\r\nrebatenotify=2024" + sep + "05" + sep + "04\r\n");
}

TEST_F(IniFileTest, WritesKeepTheOtherKeysAndLeaveNoFileBeside) {
  WriteSettings("[KORVANE]\r\nuser=a\r\n[GRID]\r\nfontsize=14\r\n");
  TIniFile ini(SettingsFilePath());
  for (int i = 0; i < 9; ++i) ini.WriteInteger("GRID", "col" + std::to_string(i), 60 + i);
  ini.WriteString("korvane", "USER", "b");
  EXPECT_EQ(ini.ReadString("KORVANE", "user", ""), "b");
  EXPECT_EQ(ini.ReadInteger("GRID", "fontsize", 11), 14);
  EXPECT_EQ(ini.ReadInteger("GRID", "col8", 0), 68);

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(home.settingsFile()).parent_path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"config.ini"});
}

TEST_F(IniFileTest, TheFileIsPrivateToItsOwner) {
  WriteSettings("[GRID]\r\nsortby=2\r\n");
  fs::permissions(home.settingsFile(), fs::perms(0644));
  TIniFile ini(SettingsFilePath());
  ini.WriteString("KORVANE", "password", "pw");
  EXPECT_EQ(fs::status(home.settingsFile()).permissions() & fs::perms::all, fs::perms(0600));
}

TEST_F(IniFileTest, AWriteReplacesTheFileRatherThanRewritingIt) {
  WriteSettings("[GRID]\r\nsortby=2\r\n");
  const std::string copy = home.home() + "hard-link-to-old-contents";
  fs::create_hard_link(home.settingsFile(), copy);
  TIniFile ini(SettingsFilePath());
  ini.WriteInteger("GRID", "sortby", 3);
  // The old file was never opened for writing: a crash could not have cut it short.
  EXPECT_EQ(TempHome::ReadBytes(copy), "[GRID]\r\nsortby=2\r\n");
  EXPECT_EQ(ini.ReadInteger("GRID", "sortby", 1), 3);
}

TEST_F(IniFileTest, AReadOnlyFileIsNotWrittenAndTheErrorNamesIt) {
  WriteSettings("[KORVANE]\r\nuser=a\r\n");
  fs::permissions(home.settingsFile(), fs::perms::owner_read);
  TIniFile ini(SettingsFilePath());
  try {
    ini.WriteString("KORVANE", "user", "b");
    FAIL() << "a read-only settings file was written";
  } catch (const ESettingsWrite& error) {
    EXPECT_EQ(error.target(), home.settingsFile());
    EXPECT_NE(std::string(error.what()).find(home.settingsFile()), std::string::npos);
  }
  EXPECT_EQ(SettingsBytes(), "[KORVANE]\r\nuser=a\r\n");
}

TEST_F(IniFileTest, AFolderThatCannotBeMadeFailsTheWrite) {
  TempHome::WriteBytes(home.configHome() + "KorvaneVandrel", "a file where the folder belongs");
  TIniFile ini(SettingsFilePath());
  EXPECT_THROW(ini.WriteString("KORVANE", "user", "b"), ESettingsWrite);
}

}  // namespace
