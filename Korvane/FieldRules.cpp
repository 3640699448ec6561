// Field rules over code-page-936 bytes: named patterns (PCRE2, byte mode), mobile carriers,
// short location texts.
#include "Korvane/FieldRules.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>
#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace Korvane {

namespace {

// ---- Named patterns --------------------------------------------------------------------

// The patterns are matched over bytes: no UTF mode, so \w \d \W \D are ASCII classes and
// [\x80-\xff] means the bytes 80..FF. "$" means the end of the whole text only, not also the
// place before a final line feed.
constexpr std::string_view kLoginName = R"(^[\x80-\xff\w]+$)";
constexpr std::string_view kPassword =
    R"(^((^[a-z]{6,}$)|(^[A-Z]{6,}$)|(^[\d]{6,}$)|(^[\W_]{6,}$))$)";
constexpr std::string_view kIllegalChar = R"re([~!#$%\^&*()=+|\\\[\]{};':",?\/<>])re";
constexpr std::string_view kFloat = R"(^[0-9]+(\.\d+)?$)";
constexpr std::string_view kPhone =
    R"(^((((13[0-9])|(15[^4,\D])|(18[0-9])|(17[3678])|(14[57]))\d{8})|(((170[0-9])|(171[0-9]))\d{7}))$)";

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using Code = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchData = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;

Code Compile(std::string_view pattern) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  return Code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                            PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr));
}

// The compiled pattern of a name, compiled once (thread-safe static initialisation);
// nullptr for an unknown name. Compiled code is read-only and may serve many threads.
const pcre2_code* PatternNamed(const std::string& name) {
  static const Code loginName = Compile(kLoginName);
  static const Code password = Compile(kPassword);
  static const Code illegalChar = Compile(kIllegalChar);
  static const Code floatNumber = Compile(kFloat);
  static const Code phone = Compile(kPhone);
  if (name == "LoginName") return loginName.get();
  if (name == "Password") return password.get();
  if (name == "IllegalChar") return illegalChar.get();
  if (name == "Float") return floatNumber.get();
  if (name == "Phone") return phone.get();
  return nullptr;
}

bool Matches(const pcre2_code* code, const std::string& subject) {
  const MatchData data(pcre2_match_data_create_from_pattern(code, nullptr));
  if (!data) return false;
  const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                             0, data.get(), nullptr);
  return rc >= 0;
}

// ---- Carriers --------------------------------------------------------------------------

constexpr std::array<std::string_view, 22> kChinaMobile = {
    "134", "135", "136", "137", "138", "139", "147", "150", "151",  "152",  "157",
    "158", "159", "178", "182", "183", "184", "187", "188", "1703", "1705", "1706"};
constexpr std::array<std::string_view, 23> kChinaUnicom = {
    "130",  "131",  "132",  "145",  "155",  "156",  "176",  "185",  "186",  "1704", "1707", "1708",
    "1709", "1710", "1711", "1712", "1713", "1714", "1715", "1716", "1717", "1718", "1719"};
constexpr std::array<std::string_view, 10> kChinaTelecom = {"133", "153", "173",  "177",  "180",
                                                            "181", "189", "1700", "1701", "1702"};

constexpr std::size_t kMobileNumberBytes = 11;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

template <std::size_t N>
bool TableHolds(const std::array<std::string_view, N>& table, std::string_view prefix) {
  for (const std::string_view entry : table)
    if (EqualsIgnoringCase(entry, prefix)) return true;
  return false;
}

// "170" and "171" are shared by several carriers: their fourth digit decides.
std::string_view CarrierPrefix(std::string_view number) {
  const std::string_view three = number.substr(0, 3);
  if (three == "170" || three == "171") return number.substr(0, 4);
  return three;
}

// ---- Short locations -------------------------------------------------------------------

struct AutonomousRegion {
  std::string_view fullName;
  std::size_t keptCharacters;  // the short form is the name's first characters
};

// Inner Mongolia keeps three characters; the other regions their first two.
constexpr std::array<AutonomousRegion, 5> kAutonomousRegions = {{
    {"内蒙古自治区", 3},
    {"广西壮族自治区", 2},
    {"西藏自治区", 2},
    {"宁夏回族自治区", 2},
    {"新疆维吾尔自治区", 2},
}};

// The first `count` characters of a UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  }
  return text.substr(0, pos);
}

constexpr std::array<std::string_view, 4> kMunicipalities = {"北京市", "天津市", "上海市",
                                                             "重庆市"};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

void RemoveAll(std::string& text, std::string_view piece) { ReplaceAll(text, piece, ""); }

// The part before the first comma; empty when the text has no comma.
std::string_view FirstPart(std::string_view location) {
  const std::size_t comma = location.find(',');
  return comma == std::string_view::npos ? std::string_view() : location.substr(0, comma);
}

const AutonomousRegion* AutonomousRegionNamed(std::string_view name) {
  for (const AutonomousRegion& region : kAutonomousRegions)
    if (region.fullName == name) return &region;
  return nullptr;
}

bool IsMunicipality(std::string_view name) {
  for (const std::string_view city : kMunicipalities)
    if (city == name) return true;
  return false;
}

}  // namespace

bool CheckPattern(const std::string& text, const std::string& patternName) {
  const pcre2_code* code = PatternNamed(patternName);
  if (!code) return false;
  return Matches(code, platform::Utf8ToCp936(text));
}

std::string GetCarrier(const std::string& mobileNumber) {
  const std::string bytes = platform::Utf8ToCp936(mobileNumber);
  if (bytes.size() != kMobileNumberBytes) return "Invalid";
  const std::string_view prefix = CarrierPrefix(bytes);
  if (TableHolds(kChinaMobile, prefix)) return "CM";
  if (TableHolds(kChinaUnicom, prefix)) return "CU";
  if (TableHolds(kChinaTelecom, prefix)) return "CT";
  return "Unknown";
}

std::string ShortLocation(const std::string& location) {
  if (location.empty()) return {};
  std::string result = location;
  const std::string_view first = FirstPart(location);
  if (const AutonomousRegion* region = AutonomousRegionNamed(first)) {
    ReplaceAll(result, region->fullName, FirstCharacters(region->fullName, region->keptCharacters));
  } else if (IsMunicipality(first)) {
    result = location.substr(location.find(','));
  }
  RemoveAll(result, ",");
  RemoveAll(result, "省");
  return result;
}

}  // namespace Korvane
