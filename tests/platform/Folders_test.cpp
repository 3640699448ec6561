// Paths and folders: folder parts, the executable, the log folder and folder creation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <string>

#include "support/TempDir.h"
#include "platform/platform.h"

namespace {

struct FolderCase {
  const char* path;
  const char* folder;
};

std::ostream& operator<<(std::ostream& out, const FolderCase& c) {
  return out << "\"" << c.path << "\" -> \"" << c.folder << "\"";
}

class FolderOfTable : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderOfTable, KeepsEverythingUpToTheLastSeparator) {
  EXPECT_EQ(platform::FolderOf(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, FolderOfTable,
                         ::testing::Values(FolderCase{"/usr/bin/vandrel", "/usr/bin/"},
                                           FolderCase{"/usr/bin/", "/usr/bin/"},
                                           FolderCase{"/vandrel", "/"}, FolderCase{"vandrel", ""},
                                           FolderCase{"", ""}, FolderCase{"a/b//c", "a/b//"}));

TEST(ExecutablePath, NamesThisTestProgram) {
  const std::string path = platform::ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "platform_test");
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_EQ(platform::ExecutableDirectory(), platform::FolderOf(path));
  EXPECT_TRUE(platform::DirectoryExists(platform::ExecutableDirectory()));
}

TEST(DefaultLogDirectory, UsesXdgStateHome) {
  TempDir home;
  ScopedEnv homeVar("HOME", home.path().c_str());
  ScopedEnv state("XDG_STATE_HOME", "/var/tmp/state");
  EXPECT_EQ(platform::DefaultLogDirectory(), "/var/tmp/state/KorvaneVandrel/");
}

TEST(DefaultLogDirectory, FallsBackToHomeWhenXdgStateHomeIsUnsetEmptyOrRelative) {
  TempDir home;  // ends in "/": the result must not double it
  ScopedEnv homeVar("HOME", home.path().c_str());
  const std::string expected = home.path() + ".local/state/KorvaneVandrel/";
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/state"}) {
    ScopedEnv state("XDG_STATE_HOME", value);
    EXPECT_EQ(platform::DefaultLogDirectory(), expected) << (value ? value : "(unset)");
  }
}

TEST(DefaultLogDirectory, HomeWithoutTrailingSeparator) {
  ScopedEnv homeVar("HOME", "/home/dispatcher");
  ScopedEnv state("XDG_STATE_HOME", nullptr);
  EXPECT_EQ(platform::DefaultLogDirectory(), "/home/dispatcher/.local/state/KorvaneVandrel/");
}

class FolderFixture : public ::testing::Test {
 protected:
  void MakeFile(const std::string& path) { std::ofstream(path) << "x"; }
  TempDir dir;
};

TEST_F(FolderFixture, CreatesNestedFolders) {
  const std::string nested = dir.path() + "a/b/c/";
  ASSERT_FALSE(platform::DirectoryExists(dir.path() + "a"));
  EXPECT_TRUE(platform::CreateDirectories(nested));
  EXPECT_TRUE(platform::DirectoryExists(dir.path() + "a/b"));
  EXPECT_TRUE(platform::DirectoryExists(nested));
  // Existing folders are fine, with or without the trailing separator.
  EXPECT_TRUE(platform::CreateDirectories(nested));
  EXPECT_TRUE(platform::CreateDirectories(dir.path() + "a/b/c"));
}

TEST_F(FolderFixture, CreatesFolderNamesWithChineseText) {
  const std::string nested = dir.path() + "日志/文件夹/";
  EXPECT_TRUE(platform::CreateDirectories(nested));
  EXPECT_TRUE(platform::DirectoryExists(nested));
}

TEST_F(FolderFixture, FailsBelowARegularFile) {
  MakeFile(dir.path() + "file");
  EXPECT_FALSE(platform::CreateDirectories(dir.path() + "file/sub/"));
  EXPECT_FALSE(platform::CreateDirectories(dir.path() + "file"));
  EXPECT_FALSE(platform::CreateDirectories(""));
}

TEST_F(FolderFixture, FileAndDirectoryExistTellTheKindsApart) {
  MakeFile(dir.path() + "file");
  EXPECT_TRUE(platform::FileExists(dir.path() + "file"));
  EXPECT_FALSE(platform::DirectoryExists(dir.path() + "file"));
  EXPECT_TRUE(platform::DirectoryExists(dir.path()));
  EXPECT_FALSE(platform::FileExists(dir.path()));
  EXPECT_FALSE(platform::FileExists(dir.path() + "missing"));
  EXPECT_FALSE(platform::DirectoryExists(dir.path() + "missing"));
}

TEST_F(FolderFixture, OpenAppendCreatesThenAppends) {
  const std::string path = dir.path() + "20240305.log";
  for (const char* part : {"one\r\n", "two\r\n"}) {
    std::FILE* f = platform::OpenAppend(path, platform::FileExists(path));
    ASSERT_NE(f, nullptr);
    std::fputs(part, f);
    std::fclose(f);
  }
  std::ifstream in(path, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "one\r\ntwo\r\n");
  EXPECT_EQ(platform::OpenAppend(dir.path() + "missing/x.log", false), nullptr);
}

}  // namespace
