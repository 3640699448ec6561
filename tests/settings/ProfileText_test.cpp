// The INI text itself: which line a name finds, and what a write changes.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "settings/ProfileText.h"

namespace {

std::string CaseName(std::string label) {
  for (char& c : label)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return label;
}

struct FindCase {
  const char* label;
  const char* text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class FindValueTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindValueTest, FindsTheValueOfTheFirstMatchingSectionAndKey) {
  const FindCase& c = GetParam();
  EXPECT_EQ(profile::FindValue(c.text, c.section, c.key), c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindValueTest,
    testing::Values(
        FindCase{"plain", "[KORVANE]\r\nuser=abc\r\n", "KORVANE", "user", "abc"},
        FindCase{"blanks around the value", "[KORVANE]\r\npassword=  pa ss \t\r\n", "KORVANE",
                 "password", "pa ss"},
        FindCase{"blanks around the name", "[KORVANE]\r\n  user \t= abc\r\n", "KORVANE", "user",
                 "abc"},
        FindCase{"names without case", "[korvane]\r\nUSER=abc\r\n", "KORVANE", "user", "abc"},
        FindCase{"blanks inside the header", "[ GRID ]\r\nsortby=2\r\n", "grid", "sortby", "2"},
        FindCase{"LF line ends", "[GRID]\nfontsize=12\ncol0=80\n", "GRID", "col0", "80"},
        FindCase{"no line end at the end", "[GRID]\r\nfontsize=12", "GRID", "fontsize", "12"},
        FindCase{"empty value", "[KORVANE]\r\npassword=\r\n", "KORVANE", "password", ""},
        FindCase{"equals sign in the value", "[KORVANE]\r\npassword=a=b\r\n", "KORVANE",
                 "password", "a=b"},
        FindCase{"key of another section", "[GRID]\r\nuser=x\r\n[KORVANE]\r\n", "KORVANE",
                 "user", std::nullopt},
        FindCase{"missing section", "[GRID]\r\nfontsize=12\r\n", "KORVANE", "fontsize",
                 std::nullopt},
        FindCase{"missing key", "[KORVANE]\r\nuser=a\r\n", "KORVANE", "autologin",
                 std::nullopt},
        FindCase{"prefix of a key is no key", "[GRID]\r\ncol10=5\r\n", "GRID", "col1",
                 std::nullopt},
        FindCase{"first of two sections", "[GRID]\r\nsortby=3\r\n[GRID]\r\nsortby=4\r\n",
                 "GRID", "sortby", "3"},
        FindCase{"first of two keys", "[GRID]\r\nsortby=3\r\nSORTBY=4\r\n", "GRID", "sortby",
                 "3"},
        FindCase{"line without equals sign", "[GRID]\r\nsortby\r\n", "GRID", "sortby",
                 std::nullopt},
        FindCase{"empty file", "", "GRID", "sortby", std::nullopt}),
    [](const testing::TestParamInfo<FindCase>& info) { return CaseName(info.param.label); });

struct WriteCase {
  const char* label;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

class WithValueTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WithValueTest, ChangesOnlyTheKeysLine) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(profile::WithValue(c.before, c.section, c.key, c.value), c.after) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WithValueTest,
    testing::Values(
        WriteCase{"new file", "", "KORVANE", "user", "abc", "[KORVANE]\r\nuser=abc\r\n"},
        WriteCase{"replaced in place", "[KORVANE]\r\nuser=old\r\npassword=p\r\n", "KORVANE",
                  "user", "new", "[KORVANE]\r\nuser=new\r\npassword=p\r\n"},
        WriteCase{"replaced without regard to case", "[korvane]\r\nUser = old\r\n", "KORVANE",
                  "user", "new", "[korvane]\r\nuser=new\r\n"},
        WriteCase{"added at the end of its section",
                  "[KORVANE]\r\nuser=a\r\n\r\n[GRID]\r\nsortby=1\r\n", "KORVANE", "remember",
                  "1", "[KORVANE]\r\nuser=a\r\nremember=1\r\n\r\n[GRID]\r\nsortby=1\r\n"},
        WriteCase{"section added at the end", "[KORVANE]\r\nuser=a\r\n", "GRID", "col3", "120",
                  "[KORVANE]\r\nuser=a\r\n[GRID]\r\ncol3=120\r\n"},
        WriteCase{"unterminated last line", "[KORVANE]\r\nuser=a", "KORVANE", "password", "b",
                  "[KORVANE]\r\nuser=a\r\npassword=b\r\n"},
        WriteCase{"LF lines kept", "[GRID]\nsortby=1\nfontsize=9\n", "GRID", "sortby", "2",
                  "[GRID]\nsortby=2\nfontsize=9\n"},
        WriteCase{"blanks kept in the value", "", "KORVANE", "password", " p ",
                  "[KORVANE]\r\npassword= p \r\n"},
        WriteCase{"other lines untouched", "; note\r\n[GRID]\r\nx = 1 \r\n", "GRID", "y", "2",
                  "; note\r\n[GRID]\r\nx = 1 \r\ny=2\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return CaseName(info.param.label); });

TEST(WithValueTest, AWrittenValueReadsBack) {
  const std::string keys[] = {"user", "password", "remember", "autologin"};
  std::string text = "[GRID]\r\nsortby=1\r\n";
  for (const std::string& key : keys) text = profile::WithValue(text, "KORVANE", key, key + "!");
  for (const std::string& key : keys)
    EXPECT_EQ(profile::FindValue(text, "korvane", key), key + "!") << key;
  EXPECT_EQ(profile::FindValue(text, "GRID", "sortby"), "1");
}

}  // namespace
