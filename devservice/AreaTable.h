// The administrative areas the service knows: 31 provinces and their prefecture-level cities,
// each a six-digit division code and a name.
#pragma once

#include <string>
#include <vector>

namespace devservice {

struct Area {
  std::string code;
  std::string name;

  // A province-level line (code ending "0000").
  bool isProvince() const;
  // One of the four municipalities, which have no city lines of their own.
  bool isMunicipality() const;
  // A place a vehicle can be in: a city, or a municipality.
  bool isPlace() const;
  std::string provinceCode() const;
};

// All 364 areas in ascending code order.
const std::vector<Area>& Areas();

// The area with this code, or nullptr.
const Area* FindArea(const std::string& code);

// The place (city or municipality) with this name, or nullptr.
const Area* FindPlaceByName(const std::string& name);

// The places of a province: its cities, or the municipality itself.
std::vector<const Area*> PlacesOfProvince(const std::string& provinceCode);

// Every place of the table (cities and municipalities) in code order.
std::vector<const Area*> AllPlaces();

// The places of the same part of the country as `area`: division codes share their first
// digit (1 north, 2 north-east, 3 east, 4 centre and south, 5 south-west, 6 north-west).
std::vector<const Area*> PlacesOfRegion(const Area& area);

// The position text of a place: "浙江省,杭州市"; a municipality repeats itself: "北京市,北京市".
std::string LocationText(const Area& place);

// "a,b,,c" -> {"a", "b", "", "c"}; an empty text gives no items.
std::vector<std::string> SplitList(const std::string& text);

// Area codes joined by "," to their names joined by ","; unknown codes are left out.
std::string AreaNamesOfCodes(const std::string& codes);

}  // namespace devservice
