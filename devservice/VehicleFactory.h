// Realistic made-up vehicles for the demo company and generated fleets: plates of the 31
// provinces, drivers, type codes, menu lengths and tonnages, positions of the area table.
#pragma once

#include <cstdint>
#include <ctime>
#include <random>
#include <string>

#include "devservice/AreaTable.h"
#include "devservice/Vehicles.h"

namespace devservice {

struct MadeVehicle {
  VehicleData data;
  const Area* place = nullptr;  // none: never located
  std::time_t located_at = 0;
  int locate_status = 0;
  std::time_t used_at = 0;
};

class VehicleFactory {
 public:
  explicit VehicleFactory(std::uint64_t seed) : random_(seed) {}

  // A vehicle with a random plate, driver and data, located some time before `now`.
  MadeVehicle make(std::time_t now);
  // The same with the plate and locate number that generated vehicle number `index` gets;
  // these never repeat for different indexes.
  MadeVehicle makeNumbered(std::uint64_t index, std::time_t now);

  std::string plate();
  std::string mobile();
  std::string driverName();
  std::string idNumber(const Area& home);

 private:
  int between(int low, int high);
  template <class List>
  const auto& pick(const List& list) {
    return list[static_cast<std::size_t>(between(0, static_cast<int>(list.size()) - 1))];
  }
  void fillData(MadeVehicle& vehicle);
  std::string flowFrom(const Area& home);
  void placeAndTime(MadeVehicle& vehicle, std::time_t now);

  std::mt19937_64 random_;
};

}  // namespace devservice
