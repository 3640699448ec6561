#include "devservice/Catalogue.h"

#include <algorithm>
#include <cstdio>

namespace devservice {
namespace {

std::vector<std::string> NumberedCodes(int group, int last) {
  std::vector<std::string> codes;
  char code[16];
  for (int i = 1; i <= last; ++i) {
    std::snprintf(code, sizeof code, "CM%d_%02d", group, i);
    codes.emplace_back(code);
  }
  std::snprintf(code, sizeof code, "CM%d_99", group);
  codes.emplace_back(code);
  return codes;
}

}  // namespace

const std::vector<PlateProvince>& PlateProvinces() {
  static const std::vector<PlateProvince> provinces = {
      {"京", "110000"}, {"津", "120000"}, {"沪", "310000"}, {"渝", "500000"}, {"冀", "130000"},
      {"晋", "140000"}, {"辽", "210000"}, {"吉", "220000"}, {"黑", "230000"}, {"苏", "320000"},
      {"浙", "330000"}, {"皖", "340000"}, {"闽", "350000"}, {"赣", "360000"}, {"鲁", "370000"},
      {"豫", "410000"}, {"鄂", "420000"}, {"湘", "430000"}, {"粤", "440000"}, {"琼", "460000"},
      {"川", "510000"}, {"贵", "520000"}, {"云", "530000"}, {"陕", "610000"}, {"甘", "620000"},
      {"青", "630000"}, {"藏", "540000"}, {"桂", "450000"}, {"蒙", "150000"}, {"宁", "640000"},
      {"新", "650000"},
  };
  return provinces;
}

const PlateProvince* FindPlateProvince(const std::string& abbreviation) {
  for (const PlateProvince& province : PlateProvinces()) {
    if (province.abbreviation == abbreviation) return &province;
  }
  return nullptr;
}

const std::vector<std::string>& TypeCodes(int group) {
  static const std::vector<std::vector<std::string>> groups = {
      NumberedCodes(1, 20), NumberedCodes(2, 19), NumberedCodes(3, 16), NumberedCodes(4, 27)};
  static const std::vector<std::string> none;
  return group >= 1 && group <= 4 ? groups[group - 1] : none;
}

bool IsTypeCode(int group, const std::string& code) {
  const auto& codes = TypeCodes(group);
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

const std::vector<std::string>& LengthChoices() {
  static const std::vector<std::string> lengths = {
      "4",    "4.2",  "4.3",  "4.5",  "4.8",  "5",    "5.8",  "6",    "6.2",  "6.8",
      "7",    "7.2",  "7.4",  "7.6",  "7.7",  "7.8",  "8",    "8.2",  "8.6",  "8.7",
      "8.8",  "9",    "9.2",  "9.6",  "9.8",  "10",   "11",   "12.5", "13",   "13.5",
      "14",   "14.5", "15",   "15.5", "16",   "16.5", "17",   "17.5", "18",   "19.5",
      "20",   "20.5", "20.6", "20.8", "21.5", "21.6", "21.8", "22.5", "22.6", "22.8"};
  return lengths;
}

const std::vector<std::string>& TonnageChoices() {
  static const std::vector<std::string> tonnages = {
      "2",   "3",   "4",   "5",   "6",   "8",   "10",  "12",  "13",   "14",   "15",
      "18",  "20",  "25",  "26",  "27",  "28",  "30",  "32",  "33",   "34",   "35",
      "36",  "37",  "38",  "39",  "40",  "42",  "45",  "48",  "50",   "55",   "60",
      "65",  "70",  "75",  "80",  "85",  "90",  "95",  "100", "200",  "300",  "400",
      "500", "600", "700", "800", "900", "1000", "1500", "2000"};
  return tonnages;
}

}  // namespace devservice
