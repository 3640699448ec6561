// Field rules: the named patterns over code-page-936 bytes, carriers and short locations.
#include "Korvane/FieldRules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Korvane::CheckPattern;
using Korvane::GetCarrier;
using Korvane::ShortLocation;

// ---- Named patterns --------------------------------------------------------------------

struct PatternCase {
  const char* pattern;
  std::string text;
  bool matches;
};

// A text as it reads in test names: control characters escaped.
std::string Visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

std::ostream& operator<<(std::ostream& out, const PatternCase& c) {
  return out << c.pattern << " \"" << Visible(c.text) << "\" -> " << c.matches;
}

const PatternCase kPatternCases[] = {
    // Account names: Chinese bytes and ASCII word characters only.
    {"LoginName", "abc", true},
    {"LoginName", "Zhang_San_09", true},
    {"LoginName", "张三", true},
    {"LoginName", "张三abc_9", true},
    {"LoginName", "a b", false},
    {"LoginName", "a-b", false},
    {"LoginName", "a@b.cn", false},
    {"LoginName", "abc\n", false},  // "$" is the end of the text, not of a line
    {"LoginName", "\nabc", false},
    {"LoginName", "😀", false},  // no code page 936 form: becomes "?"
    // Bytes, not characters: 乢 is 81 5F (the trail byte is "_"), 丂 is 81 40 ("@").
    {"LoginName", "乢", true},
    {"LoginName", "丂", false},

    // Too simple passwords: six or more bytes of one kind.
    {"Password", "abcdef", true},
    {"Password", "abcde", false},
    {"Password", "abcdefghijklmnop", true},
    {"Password", "ABCDEFG", true},
    {"Password", "123456", true},
    {"Password", "12345", false},
    {"Password", "abc123", false},
    {"Password", "Abcdef", false},
    {"Password", "ABC123", false},
    {"Password", "!@#$%^", true},
    {"Password", "______", true},
    {"Password", "_-_-_-", true},
    {"Password", "中文字", true},  // six bytes from 80..FF
    {"Password", "中文", false},   // four bytes
    {"Password", "中文字1", false},
    {"Password", "!!!!!a", false},
    {"Password", "abcdef\n", false},

    // Forbidden characters, anywhere in the text.
    {"IllegalChar", "abc", false},
    {"IllegalChar", "a@b-c_d.e`f", false},
    {"IllegalChar", " ", false},
    {"IllegalChar", "中文", false},
    {"IllegalChar", "x/y", true},
    {"IllegalChar", "plate\"1", true},
    {"IllegalChar", "浙A12345;", true},
    {"IllegalChar", "亅", true},  // 81 7C: its trail byte is "|"

    // Numbers with an optional decimal part.
    {"Float", "0", true},
    {"Float", "123", true},
    {"Float", "1.5", true},
    {"Float", "12.34", true},
    {"Float", "007.500", true},
    {"Float", "1.", false},
    {"Float", ".5", false},
    {"Float", "1.2.3", false},
    {"Float", "-1", false},
    {"Float", "+1", false},
    {"Float", "1e5", false},
    {"Float", "1,5", false},
    {"Float", " 1", false},
    {"Float", "１", false},  // a full-width digit is no ASCII digit
    {"Float", "1.5\n", false},

    // Mobile numbers.
    {"Phone", "13012345678", true},
    {"Phone", "13812345678", true},
    {"Phone", "13912345678", true},
    {"Phone", "15012345678", true},
    {"Phone", "15412345678", false},
    {"Phone", "15512345678", true},
    {"Phone", "15912345678", true},
    {"Phone", "18012345678", true},
    {"Phone", "18912345678", true},
    {"Phone", "17312345678", true},
    {"Phone", "17612345678", true},
    {"Phone", "17712345678", true},
    {"Phone", "17812345678", true},
    {"Phone", "17212345678", false},
    {"Phone", "17412345678", false},
    {"Phone", "17512345678", false},
    {"Phone", "17912345678", false},
    {"Phone", "14512345678", true},
    {"Phone", "14712345678", true},
    {"Phone", "14612345678", false},
    {"Phone", "17001234567", true},
    {"Phone", "17091234567", true},
    {"Phone", "17101234567", true},
    {"Phone", "17191234567", true},
    {"Phone", "16612345678", false},
    {"Phone", "19912345678", false},
    {"Phone", "12345678901", false},
    {"Phone", "138123456789", false},
    {"Phone", "1381234567", false},
    {"Phone", "1381234567a", false},
    {"Phone", "15,12345678", false},
    {"Phone", "13812345678\n", false},
    {"Phone", " 13812345678", false},
};

class PatternTable : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternTable, MatchesAsNamed) {
  const PatternCase& c = GetParam();
  EXPECT_EQ(CheckPattern(c.text, c.pattern), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Texts, PatternTable, ::testing::ValuesIn(kPatternCases));

const char* const kPatternNames[] = {"LoginName", "Password", "IllegalChar", "Float", "Phone"};

TEST(CheckPattern, EmptyTextMatchesNoPattern) {
  for (const char* name : kPatternNames) EXPECT_FALSE(CheckPattern("", name)) << name;
}

const std::string kForbidden = "~!#$%^&*()=+|\\[]{};':\",?/<>";

TEST(CheckPattern, EachForbiddenCharacterMatchesAloneAndInsideText) {
  for (const char c : kForbidden) {
    EXPECT_TRUE(CheckPattern(std::string(1, c), "IllegalChar")) << c;
    EXPECT_TRUE(CheckPattern("车队" + std::string(1, c) + "abc", "IllegalChar")) << c;
  }
}

TEST(CheckPattern, NoOtherAsciiCharacterIsForbidden) {
  for (int c = 1; c < 0x80; ++c) {
    if (kForbidden.find(static_cast<char>(c)) != std::string::npos) continue;
    EXPECT_FALSE(CheckPattern(std::string(1, static_cast<char>(c)), "IllegalChar")) << c;
  }
}

TEST(CheckPattern, UnknownNamesAreFalse) {
  for (const char* name : {"", "loginname", "PHONE", "Integer", "LoginName "})
    EXPECT_FALSE(CheckPattern("abc", name)) << name;
}

TEST(CheckPattern, ConcurrentCallersGetTheirOwnResults) {
  std::vector<std::thread> threads;
  std::vector<int> wrong(8, 0);
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([t, &wrong] {
      for (int i = 0; i < 500; ++i) {
        const bool expectPhone = (i + t) % 2 == 0;
        const std::string text = expectPhone ? "13812345678" : "15412345678";
        if (CheckPattern(text, "Phone") != expectPhone) ++wrong[t];
        if (!CheckPattern("张三_" + std::to_string(i), "LoginName")) ++wrong[t];
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 8; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

// ---- Carriers --------------------------------------------------------------------------

struct CarrierTable {
  const char* code;
  std::vector<std::string> prefixes;
};

const CarrierTable kCarrierTables[] = {
    {"CM", {"134", "135", "136", "137", "138", "139", "147", "150", "151",  "152",  "157",
            "158", "159", "178", "182", "183", "184", "187", "188", "1703", "1705", "1706"}},
    {"CU", {"130",  "131",  "132",  "145",  "155",  "156",  "176",  "185",
            "186",  "1704", "1707", "1708", "1709", "1710", "1711", "1712",
            "1713", "1714", "1715", "1716", "1717", "1718", "1719"}},
    {"CT", {"133", "153", "173", "177", "180", "181", "189", "1700", "1701", "1702"}},
};

TEST(GetCarrier, EveryTablePrefixGivesItsCarrier) {
  std::size_t entries = 0;
  for (const CarrierTable& table : kCarrierTables) {
    for (const std::string& prefix : table.prefixes) {
      for (const char fill : {'0', '9'}) {
        const std::string number = prefix + std::string(11 - prefix.size(), fill);
        EXPECT_EQ(GetCarrier(number), table.code) << number;
      }
      ++entries;
    }
  }
  EXPECT_EQ(entries, 22u + 23u + 10u);
}

struct CarrierCase {
  std::string number;
  const char* carrier;
};

std::ostream& operator<<(std::ostream& out, const CarrierCase& c) {
  return out << "\"" << Visible(c.number) << "\" -> " << c.carrier;
}

class CarrierCases : public ::testing::TestWithParam<CarrierCase> {};

TEST_P(CarrierCases, NamesTheCarrier) {
  EXPECT_EQ(GetCarrier(GetParam().number), GetParam().carrier) << GetParam().number;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CarrierCases,
    ::testing::Values(CarrierCase{"13812345678", "CM"}, CarrierCase{"17112345678", "CU"},
                      CarrierCase{"17001234567", "CT"}, CarrierCase{"19912345678", "Unknown"},
                      CarrierCase{"17212345678", "Unknown"},  // 172 is in no table
                      CarrierCase{"14612345678", "Unknown"}, CarrierCase{"12345678901", "Unknown"},
                      CarrierCase{"abcdefghijk", "Unknown"}, CarrierCase{"1381234567", "Invalid"},
                      CarrierCase{"138123456789", "Invalid"}, CarrierCase{"", "Invalid"},
                      // 11 bytes in code page 936 although only 10 characters
                      CarrierCase{"138中123456", "CM"},
                      // 11 characters but 22 bytes
                      CarrierCase{"１３８１２３４５６７８", "Invalid"}));

// ---- Short locations -------------------------------------------------------------------

struct LocationCase {
  std::string location;
  std::string shortForm;
};

std::ostream& operator<<(std::ostream& out, const LocationCase& c) {
  return out << "\"" << c.location << "\" -> \"" << c.shortForm << "\"";
}

class LocationCases : public ::testing::TestWithParam<LocationCase> {};

TEST_P(LocationCases, GivesTheShortForm) {
  EXPECT_EQ(ShortLocation(GetParam().location), GetParam().shortForm) << GetParam().location;
}

INSTANTIATE_TEST_SUITE_P(
    Locations, LocationCases,
    ::testing::Values(
        // Provinces lose their 省 and the commas.
        LocationCase{"浙江省,杭州市,西湖区", "浙江杭州市西湖区"}, LocationCase{"浙江省", "浙江"},
        LocationCase{"湖北省,省直辖县级行政区划,仙桃市", "湖北直辖县级行政区划仙桃市"},
        LocationCase{"", ""},
        // Municipalities: the city part that follows repeats the name.
        LocationCase{"北京市,北京市,朝阳区", "北京市朝阳区"},
        LocationCase{"天津市,天津市,和平区", "天津市和平区"},
        LocationCase{"上海市,上海市,浦东新区", "上海市浦东新区"},
        LocationCase{"重庆市,重庆市,渝中区", "重庆市渝中区"}, LocationCase{"北京市,", ""},
        LocationCase{"北京市", "北京市"},  // no comma: no first part
        // Autonomous regions.
        LocationCase{"内蒙古自治区,呼和浩特市,新城区", "内蒙古呼和浩特市新城区"},
        LocationCase{"广西壮族自治区,南宁市", "广西南宁市"},
        LocationCase{"西藏自治区,拉萨市,城关区", "西藏拉萨市城关区"},
        LocationCase{"宁夏回族自治区,银川市", "宁夏银川市"},
        LocationCase{"新疆维吾尔自治区,乌鲁木齐市", "新疆乌鲁木齐市"},
        LocationCase{"广西壮族自治区,广西壮族自治区", "广西广西"},  // every occurrence
        LocationCase{"内蒙古自治区", "内蒙古自治区"},               // no comma
        // Only the first part decides.
        LocationCase{"浙江省,新疆维吾尔自治区", "浙江新疆维吾尔自治区"},
        LocationCase{",北京市,朝阳区", "北京市朝阳区"}, LocationCase{"北京,朝阳区", "北京朝阳区"},
        LocationCase{"浙江省，杭州市", "浙江，杭州市"}));  // a full-width comma is no separator

}  // namespace
