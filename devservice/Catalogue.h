// Fixed choices of the vehicle data: plate provinces, vehicle-type codes, the length and
// tonnage menus.
#pragma once

#include <string>
#include <vector>

namespace devservice {

// A province abbreviation that begins a plate number, and the province it stands for.
struct PlateProvince {
  std::string abbreviation;
  std::string provinceCode;
};

// The 31 abbreviations, "京" to "新".
const std::vector<PlateProvince>& PlateProvinces();

// The plate province with this abbreviation, or nullptr.
const PlateProvince* FindPlateProvince(const std::string& abbreviation);

// The type codes of group 1 to 4 ("CM1_01" ... "CM4_99") in display order.
const std::vector<std::string>& TypeCodes(int group);

// True when code is one of group's codes.
bool IsTypeCode(int group, const std::string& code);

// The length menu (metres) and the tonnage menu (tonnes), as their captions.
const std::vector<std::string>& LengthChoices();
const std::vector<std::string>& TonnageChoices();

}  // namespace devservice
