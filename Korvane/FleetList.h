// Vehicle records, pages of them, and the fleet list the windows share.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvane {

class TCar {
 public:
  std::string register_contact_number;
  std::string locate_number;
  std::string plate_number;
  std::string driver_name;
  std::string expected_flow;
  std::string driver_gender;
  std::string driver_id_number;
  std::string model_1;
  std::string model_2;
  std::string model_3;
  std::string model_4;
  std::string length;
  std::string tonnage;
  std::string volume;
  std::string width;
  std::string height;
  std::string description;
  std::string location;
  std::string located_time;
  std::string locate_status;
};

// Records are shared: a request that still works on a vehicle keeps it alive after the
// vehicle left the list.
using CarPtr = std::shared_ptr<TCar>;
using CarList = std::vector<CarPtr>;

class TCars {
 public:
  std::optional<CarList> cars;  // absent when the service sent no vehicle list
  int total_results = 0;
};

inline constexpr int kPageSize = 999;

// The fleet list the fleet window shows; none until the first list was loaded. GUI thread only.
std::shared_ptr<TCars> CurrentCars();
void SetCurrentCars(std::shared_ptr<TCars> cars);

// The first vehicle with this plate, or none.
CarPtr FindCar(const std::string& plate_number);
// Removes the first vehicle with this plate; false when there is none.
bool RemoveCar(const std::string& plate_number);
// 1: another vehicle has this plate; 2: another vehicle has this locate number;
// 3: any vehicle has this locate number. Other modes: false.
bool IsTaken(int mode, const std::string& own_plate_number, const std::string& value);
// Puts `car` in place of the first vehicle with this plate; nothing when there is none.
void ReplaceCar(const std::string& plate_number, CarPtr car);
// Inserts at the top, creating the list (and the fleet list) when there is none.
void InsertCar(CarPtr car);
// Vehicles whose locate_status is exactly "1".
int CountOpened(const TCars* cars);

}  // namespace Korvane
