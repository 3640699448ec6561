// The fixed data and field rules the service checks vehicles and accounts against.
#include <gtest/gtest.h>

#include <set>

#include "devservice/AreaTable.h"
#include "devservice/Catalogue.h"
#include "devservice/Clock.h"
#include "devservice/Movement.h"
#include "devservice/Validation.h"

namespace devtest {
namespace {

using namespace devservice;

TEST(AreaTable, HoldsTheProvincesAndTheirCities) {
  std::size_t provinces = 0;
  std::set<std::string> names;
  for (const Area& area : Areas()) {
    if (area.isProvince()) ++provinces;
    names.insert(area.name);
    if (!area.isProvince()) {
      ASSERT_NE(FindArea(area.provinceCode()), nullptr) << area.code;
    }
  }
  EXPECT_EQ(Areas().size(), 364u);
  EXPECT_EQ(provinces, 31u);
  EXPECT_EQ(names.size(), 364u) << "names are unique";
  EXPECT_EQ(PlacesOfProvince("330000").size(), 11u);
  EXPECT_EQ(PlacesOfProvince("440000").size(), 21u);
  ASSERT_EQ(PlacesOfProvince("110000").size(), 1u);
  EXPECT_EQ(PlacesOfProvince("110000")[0]->name, "北京市");
  EXPECT_EQ(AllPlaces().size(), 364u - 31u + 4u);
}

TEST(AreaTable, TurnsCodesIntoLocationsAndNames) {
  EXPECT_EQ(LocationText(*FindArea("330200")), "浙江省,宁波市");
  EXPECT_EQ(LocationText(*FindArea("652900")), "新疆维吾尔自治区,阿克苏地区");
  EXPECT_EQ(LocationText(*FindArea("500000")), "重庆市,重庆市");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"330100,440100", "杭州市,广州市"},
      {"110000", "北京市"},
      {"330100,,999999,440100", "杭州市,广州市"},
      {"", ""},
  };
  for (const auto& [codes, names] : cases) EXPECT_EQ(AreaNamesOfCodes(codes), names) << codes;
}

TEST(Catalogue, HoldsTheChoicesOfTheEditor) {
  EXPECT_EQ(PlateProvinces().size(), 31u);
  EXPECT_EQ(LengthChoices().size(), 50u);
  EXPECT_EQ(TonnageChoices().size(), 52u);
  const std::vector<std::pair<int, std::size_t>> groups = {{1, 21}, {2, 20}, {3, 17}, {4, 28}};
  for (const auto& [group, size] : groups) EXPECT_EQ(TypeCodes(group).size(), size) << group;
  EXPECT_TRUE(IsTypeCode(1, "CM1_99"));
  EXPECT_TRUE(IsTypeCode(4, "CM4_27"));
  EXPECT_FALSE(IsTypeCode(1, "CM1_21"));
  EXPECT_FALSE(IsTypeCode(2, "CM1_01"));
  for (const PlateProvince& province : PlateProvinces()) {
    const Area* area = FindArea(province.provinceCode);
    ASSERT_NE(area, nullptr) << province.abbreviation;
    EXPECT_TRUE(area->isProvince()) << province.abbreviation;
  }
}

TEST(FieldRules, MobileNumbers) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"13800138000", true},  {"14512345678", true},  {"14712345678", true},
      {"14612345678", false}, {"15512345678", true},  {"15412345678", false},
      {"17012345678", true},  {"17112345678", true},  {"17312345678", true},
      {"17412345678", false}, {"18012345678", true},  {"19912345678", false},
      {"1381234567", false},  {"138123456789", false}, {"1381234567a", false},
      {"", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsMobileNumber(text), expected) << text;
}

TEST(FieldRules, PlateNumbers) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"浙A12345", true},  {"新Zab1C2", true},  {"京A1234", false}, {"浙A123456", false},
      {"浙112345", false}, {"黔A12345", false}, {"浙A1234_", false}, {"AA12345", false},
      {"", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsPlateNumber(text), expected) << text;
}

TEST(FieldRules, NumbersNamesAndCharacters) {
  const std::vector<std::pair<std::string, bool>> numbers = {
      {"2.50", true}, {"10", true}, {"2.", false}, {".5", false}, {" 2.5", false},
      {"1.2.3", false}, {"", false}, {"-1", false}};
  for (const auto& [text, expected] : numbers) EXPECT_EQ(IsDecimalNumber(text), expected) << text;
  const std::vector<std::pair<std::string, bool>> logins = {
      {"demo", true}, {"车队_01", true}, {"a b", false}, {"a-b", false}, {"", false}};
  for (const auto& [text, expected] : logins) EXPECT_EQ(IsLoginName(text), expected) << text;
  for (char c : std::string("~!#$%^&*()=+|\\[]{};':\",?/<>")) {
    EXPECT_TRUE(HasIllegalChar(std::string("ab") + c)) << c;
  }
  for (const std::string text : {"@-_.`", " ", "王建国", ""}) {
    EXPECT_FALSE(HasIllegalChar(text)) << text;
  }
}

TEST(FieldRules, Utf8) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"王建国 abc", true},  {"\xF0\x9F\x9A\x9A", true}, {"\xFF", false},
      {"\xC0\xAF", false},   {"\xE4\xB8", false},       {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsValidUtf8(text), expected);
}

TEST(ServiceTime, FormatsAndReadsLocalTimes) {
  const std::time_t at = *ParseLocalTime("2024-02-29 23:59:59");
  EXPECT_EQ(FormatLocalTime(at), "2024-02-29 23:59:59");
  EXPECT_EQ(FormatLocalTime(at + 1), "2024-03-01 00:00:00");
  EXPECT_EQ(FormatLocalDate(at + 1), "2024-03-01");
  for (const std::string text : {"2023-02-29 10:00:00", "2024-04-31 10:00:00",
                                 "2024-1-01 10:00:00", "2024-01-01 10:00", "2024-01-01 10:00:60"}) {
    EXPECT_FALSE(ParseLocalTime(text).has_value()) << text;
  }
}

TEST(ServiceTime, TheClockCanBeFrozenMovedAndReleased) {
  ServiceClock clock;
  clock.freezeAt(1000);
  EXPECT_EQ(clock.now(), 1000);
  clock.advance(61);
  EXPECT_EQ(clock.now(), 1061);
  clock.setOffset(-3600);
  const std::time_t shifted = clock.now();
  EXPECT_LE(std::abs(static_cast<long long>(shifted - (std::time(nullptr) - 3600))), 2);
  clock.reset();
  EXPECT_LE(std::abs(static_cast<long long>(clock.now() - std::time(nullptr))), 2);
}

TEST(Movement, NextPlacesAreRealPlacesAndRepeatableGivenTheSameStep) {
  const std::string flow = "440100,510000";
  std::string current = "330200";
  std::set<std::string> seen;
  for (std::uint64_t step = 0; step < 200; ++step) {
    const Area& next = NextPlace(current, flow, "浙B12345", step);
    EXPECT_TRUE(next.isPlace()) << next.code;
    EXPECT_EQ(&NextPlace(current, flow, "浙B12345", step), &next);
    seen.insert(next.code);
    current = next.code;
  }
  // Over many steps the vehicle reaches its destinations, the cities of 四川省 included.
  EXPECT_TRUE(seen.count("440100") == 1);
  bool sichuan = false;
  for (const std::string& code : seen) sichuan = sichuan || code.rfind("51", 0) == 0;
  EXPECT_TRUE(sichuan);
  // A vehicle never located starts in the province of its plate.
  EXPECT_EQ(HomePlace("粤B12345", 0).provinceCode(), "440000");
  EXPECT_EQ(NextPlace("", "", "川A12345", 3).provinceCode(), "510000");
}

}  // namespace
}  // namespace devtest
