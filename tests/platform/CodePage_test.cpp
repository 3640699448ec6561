// Code page 936 conversions: bytes, lengths and the round trip back to UTF-8.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/platform.h"

namespace {

struct CodePageCase {
  const char* name;
  std::string utf8;
  std::string cp936;  // the bytes expected in code page 936
  std::string back;   // UTF-8 read back from those bytes
};

const CodePageCase kCases[] = {
    {"Ascii", "abc 123_~", "abc 123_~", "abc 123_~"},
    {"Chinese", "中文", "\xD6\xD0\xCE\xC4", "中文"},
    {"Mixed", "a中b文c",
     "a\xD6\xD0"
     "b\xCE\xC4"
     "c",
     "a中b文c"},
    {"Empty", "", "", ""},
    {"EuroSign", "€", "\x80", "€"},
    {"ExtensionCharacterWithAsciiTrailByte", "亅", "\x81\x7C", "亅"},
    {"OutsideGbk", "a😀b", "a?b", "a?b"},
    {"InvalidLeadByte", "x\xFFy", "x?y", "x?y"},
    {"TruncatedSequence", "x\xE4\xB8", "x?", "x?"},
    {"TruncatedSequenceInside", "\xE4\xB8z中", "?z\xD6\xD0", "?z中"},
    {"EncodedSurrogate", "\xED\xA0\x80", "???", "???"},
    {"EmbeddedNul", std::string("a\0b", 3), std::string("a\0b", 3), std::string("a\0b", 3)},
};

std::ostream& operator<<(std::ostream& out, const CodePageCase& c) { return out << c.name; }

class CodePageTable : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageTable, ConvertsToCp936Bytes) {
  const CodePageCase& c = GetParam();
  EXPECT_EQ(platform::Utf8ToCp936(c.utf8), c.cp936);
}

TEST_P(CodePageTable, LengthCountsCp936Bytes) {
  const CodePageCase& c = GetParam();
  EXPECT_EQ(platform::Cp936Length(c.utf8), c.cp936.size());
}

TEST_P(CodePageTable, ReadsBackAsUtf8) {
  const CodePageCase& c = GetParam();
  EXPECT_EQ(platform::Cp936ToUtf8(c.cp936), c.back);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodePageTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cp936ToUtf8, InvalidBytesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(platform::Cp936ToUtf8("a\xFF"
                                  "b"),
            "a" + replacement + "b");
  // A lead byte at the very end has no trail byte.
  EXPECT_EQ(platform::Cp936ToUtf8("\xD6\xD0\xCE"), "中" + replacement);
}

TEST(Utf8ToCp936, LongTextsConvertCompletely) {
  // Longer than any internal buffer: every character must arrive.
  std::string utf8, expected;
  for (int i = 0; i < 3000; ++i) {
    utf8 += "中a";
    expected +=
        "\xD6\xD0"
        "a";
  }
  utf8 += "😀";
  expected += "?";
  EXPECT_EQ(platform::Utf8ToCp936(utf8), expected);
  EXPECT_EQ(platform::Cp936ToUtf8(expected), utf8.substr(0, utf8.size() - 4) + "?");
}

}  // namespace
