#include "devservice/Movement.h"

#include <random>
#include <vector>

#include "devservice/Catalogue.h"

namespace devservice {
namespace {

std::uint64_t Fnv1a(const std::string& text, std::uint64_t step) {
  std::uint64_t hash = 1469598103934665603ULL ^ step;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ULL;
  }
  return hash;
}

const Area& Pick(const std::vector<const Area*>& places, std::mt19937_64& random) {
  std::uniform_int_distribution<std::size_t> index(0, places.size() - 1);
  return *places[index(random)];
}

std::vector<const Area*> Destinations(const std::string& flowCodes, const std::string& current) {
  std::vector<const Area*> destinations;
  for (const std::string& code : SplitList(flowCodes)) {
    const Area* area = FindArea(code);
    if (area == nullptr || code == current) continue;
    if (area->isPlace()) {
      destinations.push_back(area);
    } else {
      for (const Area* city : PlacesOfProvince(code)) destinations.push_back(city);
    }
  }
  return destinations;
}

}  // namespace

const Area& HomePlace(const std::string& plate_number, std::uint64_t step) {
  std::mt19937_64 random(Fnv1a(plate_number, step));
  const PlateProvince* province = FindPlateProvince(plate_number.substr(0, 3));
  if (province != nullptr) return Pick(PlacesOfProvince(province->provinceCode), random);
  return Pick(AllPlaces(), random);
}

const Area& NextPlace(const std::string& currentCode, const std::string& flowCodes,
                      const std::string& plate_number, std::uint64_t step) {
  const Area* current = FindArea(currentCode);
  if (current == nullptr || !current->isPlace()) return HomePlace(plate_number, step);
  std::mt19937_64 random(Fnv1a(plate_number, step));
  std::uniform_int_distribution<int> percent(0, 99);
  const int roll = percent(random);
  const std::vector<const Area*> destinations = Destinations(flowCodes, currentCode);
  if (!destinations.empty() && roll < 45) return Pick(destinations, random);
  if (roll < 70) return *current;
  if (roll < 90) return Pick(PlacesOfProvince(current->provinceCode()), random);
  return Pick(PlacesOfRegion(*current), random);
}

}  // namespace devservice
