// The desktop shortcut as an executable XDG desktop entry in a temporary HOME, and the Exec
// quoting of desktop entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/DesktopEntry.h"
#include "settings/Shortcut.h"
#include "TempHome.h"

namespace fs = std::filesystem;
using testsupport::TempHome;

namespace {

constexpr const char* kTitle = "KorvaneVandrel - 传统版";

class ShortcutTest : public testing::Test {
 protected:
  ShortcutTest() {
    fs::create_directories(home.desktop());
    TempHome::WriteBytes(Executable(), "#!/bin/sh\n");
  }
  std::string Executable() const { return home.home() + "apps/vandrel"; }
  std::string LinkPath() const { return home.desktop() + kTitle + ".desktop"; }

  TempHome home;
};

TEST_F(ShortcutTest, CreatesAnExecutableEntryForTheTarget) {
  ASSERT_TRUE(CreateShortcut(Executable(), kTitle));
  EXPECT_EQ(TempHome::ReadBytes(LinkPath()),
            "[Desktop Entry]\nType=Application\nName=KorvaneVandrel - 传统版\n"
            "Exec=\"" + Executable() + "\"\nPath=" + home.home() + "apps/\nTerminal=false\n");
  const fs::perms mode = fs::status(LinkPath()).permissions();
  EXPECT_NE(mode & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(ShortcutTest, ReplacesAnExistingLink) {
  TempHome::WriteBytes(LinkPath(), "[Desktop Entry]\nExec=/somewhere/else\n");
  ASSERT_TRUE(CreateShortcut(Executable(), kTitle));
  const std::string entry = TempHome::ReadBytes(LinkPath()).value();
  EXPECT_EQ(entry.find("/somewhere/else"), std::string::npos);
  EXPECT_NE(entry.find("Exec=\"" + Executable() + "\""), std::string::npos);
}

TEST_F(ShortcutTest, NoLinkForAMissingTarget) {
  EXPECT_FALSE(CreateShortcut(home.home() + "apps/missing", kTitle));
  EXPECT_FALSE(CreateShortcut(home.home() + "apps", kTitle)) << "a folder is no executable";
  EXPECT_FALSE(fs::exists(LinkPath()));
}

TEST_F(ShortcutTest, NoLinkForAnExecutableOnTheDesktop) {
  const std::string onDesktop = home.desktop() + "vandrel";
  TempHome::WriteBytes(onDesktop, "#!/bin/sh\n");
  EXPECT_FALSE(CreateShortcut(onDesktop, kTitle));
  EXPECT_FALSE(fs::exists(LinkPath()));
}

TEST_F(ShortcutTest, NoLinkWithoutADesktopFolder) {
  fs::remove_all(home.desktop());
  EXPECT_FALSE(CreateShortcut(Executable(), kTitle));
  EXPECT_FALSE(fs::exists(home.desktop()));
}

TEST_F(ShortcutTest, TheLinkGoesToTheDesktopOfUserDirs) {
  const std::string desk = home.home() + "Schreibtisch/";
  fs::create_directories(desk);
  TempHome::WriteBytes(home.configHome() + "user-dirs.dirs",
                       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  ASSERT_TRUE(CreateShortcut(Executable(), kTitle));
  EXPECT_TRUE(fs::exists(desk + kTitle + ".desktop"));
  EXPECT_FALSE(fs::exists(LinkPath()));
}

TEST(DesktopEntryTest, ExecQuotesTheProgramAsOneArgument) {
  struct Case {
    const char* program;
    const char* exec;
  };
  const Case cases[] = {
      {"/opt/vandrel", R"("/opt/vandrel")"},
      {"/home/a b/vandrel", R"("/home/a b/vandrel")"},
      {"/x/\"q\"", R"("/x/\\"q\\"")"},
      {"/x/$HOME/`id`", R"("/x/\\$HOME/\\`id\\`")"},
      {"/x/100%", R"("/x/100%%")"},
      {"/x/back\\slash", R"("/x/back\\\\slash")"},
      {"/桌面/车队", R"("/桌面/车队")"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExecValue(c.program), c.exec) << c.program;
}

TEST(DesktopEntryTest, StringValuesEscapeControlCharacters) {
  EXPECT_EQ(EscapeEntryString("a\\b\nc\td\re"), R"(a\\b\nc\td\re)");
  EXPECT_EQ(DesktopEntryText({"two\nlines", "/p", ""}),
            "[Desktop Entry]\nType=Application\nName=two\\nlines\nExec=\"/p\"\nTerminal=false\n");
}

}  // namespace
