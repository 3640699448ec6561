#include "devservice/VehicleFactory.h"

#include <cstdio>
#include <vector>

#include "devservice/Catalogue.h"
#include "devservice/Movement.h"

namespace devservice {
namespace {

const std::vector<std::string> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄",
                                            "周", "吴", "徐", "孙", "胡", "朱", "高", "林",
                                            "何", "郭", "马", "罗", "梁", "宋", "郑", "谢"};
const std::vector<std::string> kGivenNames = {"建国", "伟", "强", "军", "磊", "勇", "杰", "涛",
                                              "明", "超", "华", "平", "刚", "辉", "鹏", "海波",
                                              "志强", "永红", "春生", "德明", "国平", "小龙"};
const std::vector<std::string> kMobilePrefixes = {"138", "139", "135", "137", "150", "158",
                                                  "187", "186", "130", "132", "155", "176",
                                                  "133", "189", "180", "177", "1705", "1709"};
const std::vector<std::string> kRemarks = {"", "", "", "常跑江浙沪", "可接长途", "冷链专线",
                                           "回程车 价格可议", "带尾板", "驾驶经验十年"};
const std::vector<std::string> kWidths = {"", "2.3", "2.4", "2.5", "2.55"};
const std::vector<std::string> kHeights = {"", "2.5", "2.7", "3", "3.2"};
const std::vector<std::string> kVolumes = {"", "", "30", "45", "60", "85", "120"};
const char kPlateLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
const char kBase36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The ISO 7064 MOD 11-2 check character of the first 17 digits of an identity number.
char IdCheckCharacter(const std::string& digits17) {
  static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
  static const char checks[] = "10X98765432";
  int sum = 0;
  for (int i = 0; i < 17; ++i) sum += (digits17[i] - '0') * weights[i];
  return checks[sum % 11];
}

}  // namespace

int VehicleFactory::between(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random_);
}

std::string VehicleFactory::plate() {
  std::string text = pick(PlateProvinces()).abbreviation;
  text += kPlateLetters[between(0, 23)];
  for (int i = 0; i < 5; ++i) {
    // Mostly digits, now and then a letter, as plates are.
    text += between(0, 9) == 0 ? kPlateLetters[between(0, 23)] : static_cast<char>('0' + between(0, 9));
  }
  return text;
}

std::string VehicleFactory::mobile() {
  std::string number = pick(kMobilePrefixes);
  while (number.size() < 11) number += static_cast<char>('0' + between(0, 9));
  return number;
}

std::string VehicleFactory::driverName() { return pick(kSurnames) + pick(kGivenNames); }

std::string VehicleFactory::idNumber(const Area& home) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%s%04d%02d%02d%03d", home.code.substr(0, 4).c_str(),
                between(1965, 1995), between(1, 12), between(1, 28), between(0, 999));
  // The third pair of the division code: a county of the city.
  std::string text = std::string(digits).insert(4, "0" + std::to_string(between(1, 9)));
  return text + IdCheckCharacter(text);
}

void VehicleFactory::fillData(MadeVehicle& vehicle) {
  VehicleData& data = vehicle.data;
  data.driver_name = driverName();
  data.driver_gender = between(0, 9) == 0 ? "女" : "男";
  data.model_1 = pick(TypeCodes(1));
  data.model_2 = pick(TypeCodes(2));
  data.model_3 = between(0, 3) == 0 ? pick(TypeCodes(3)) : "";
  data.model_4 = between(0, 1) == 0 ? pick(TypeCodes(4)) : "";
  data.length = pick(LengthChoices());
  data.tonnage = pick(TonnageChoices());
  data.width = pick(kWidths);
  data.height = pick(kHeights);
  data.volume = pick(kVolumes);
  data.description = pick(kRemarks);
}

std::string VehicleFactory::flowFrom(const Area& home) {
  // Mostly destinations in the home part of the country, sometimes far away.
  const std::vector<const Area*> near = PlacesOfRegion(home);
  const std::vector<const Area*> anywhere = AllPlaces();
  std::string flow;
  for (int i = between(1, 3); i > 0; --i) {
    if (!flow.empty()) flow += ',';
    flow += (between(0, 3) == 0 ? pick(anywhere) : pick(near))->code;
  }
  return flow;
}

void VehicleFactory::placeAndTime(MadeVehicle& vehicle, std::time_t now) {
  const Area& home = HomePlace(vehicle.data.plate_number, 0);
  vehicle.data.expected_flow = flowFrom(home);
  vehicle.data.driver_id_number = between(0, 4) == 0 ? "" : idNumber(home);
  vehicle.locate_status = between(0, 2) == 0 ? 0 : 1;
  vehicle.used_at = now - between(600, 30 * 24 * 3600);
  if (between(0, 5) == 0) return;  // never located yet
  vehicle.place = &NextPlace(home.code, vehicle.data.expected_flow, vehicle.data.plate_number, 1);
  vehicle.located_at = now - between(300, 3 * 24 * 3600);
  if (vehicle.located_at > vehicle.used_at) vehicle.used_at = vehicle.located_at;
}

MadeVehicle VehicleFactory::make(std::time_t now) {
  MadeVehicle vehicle;
  vehicle.data.plate_number = plate();
  vehicle.data.locate_number = mobile();
  fillData(vehicle);
  placeAndTime(vehicle, now);
  return vehicle;
}

MadeVehicle VehicleFactory::makeNumbered(std::uint64_t index, std::time_t now) {
  const auto& provinces = PlateProvinces();
  std::string plate = provinces[index % provinces.size()].abbreviation;
  plate += static_cast<char>('A' + (index / provinces.size()) % 26);
  std::uint64_t rest = index / (provinces.size() * 26);
  std::string tail(5, '0');
  for (int i = 4; i >= 0; --i, rest /= 36) tail[i] = kBase36[rest % 36];
  char number[16];
  std::snprintf(number, sizeof number, "139%08llu",
                static_cast<unsigned long long>(index % 100000000ULL));
  MadeVehicle vehicle;
  vehicle.data.plate_number = plate + tail;
  vehicle.data.locate_number = number;
  fillData(vehicle);
  placeAndTime(vehicle, now);
  return vehicle;
}

}  // namespace devservice
