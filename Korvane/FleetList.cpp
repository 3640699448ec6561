#include "Korvane/FleetList.h"

#include <algorithm>

namespace Korvane {
namespace {

std::shared_ptr<TCars> fleet;

CarList* Cars() { return fleet && fleet->cars ? &*fleet->cars : nullptr; }

CarList::iterator FindByPlate(CarList& cars, const std::string& plate_number) {
  return std::find_if(cars.begin(), cars.end(),
                      [&](const CarPtr& car) { return car->plate_number == plate_number; });
}

}  // namespace

std::shared_ptr<TCars> CurrentCars() { return fleet; }

void SetCurrentCars(std::shared_ptr<TCars> cars) { fleet = std::move(cars); }

CarPtr FindCar(const std::string& plate_number) {
  CarList* cars = Cars();
  if (cars == nullptr) return nullptr;
  const auto it = FindByPlate(*cars, plate_number);
  return it == cars->end() ? nullptr : *it;
}

bool RemoveCar(const std::string& plate_number) {
  CarList* cars = Cars();
  if (cars == nullptr) return false;
  const auto it = FindByPlate(*cars, plate_number);
  if (it == cars->end()) return false;
  cars->erase(it);
  --fleet->total_results;
  return true;
}

bool IsTaken(int mode, const std::string& own_plate_number, const std::string& value) {
  const CarList* cars = Cars();
  if (cars == nullptr) return false;
  return std::any_of(cars->begin(), cars->end(), [&](const CarPtr& car) {
    switch (mode) {
      case 1: return car->plate_number == value && car->plate_number != own_plate_number;
      case 2: return car->locate_number == value && car->plate_number != own_plate_number;
      case 3: return car->locate_number == value;
      default: return false;
    }
  });
}

void ReplaceCar(const std::string& plate_number, CarPtr car) {
  CarList* cars = Cars();
  if (cars == nullptr) return;
  const auto it = FindByPlate(*cars, plate_number);
  if (it != cars->end()) *it = std::move(car);
}

void InsertCar(CarPtr car) {
  if (!fleet) fleet = std::make_shared<TCars>();
  if (!fleet->cars) fleet->cars.emplace();
  fleet->cars->insert(fleet->cars->begin(), std::move(car));
  ++fleet->total_results;
}

int CountOpened(const TCars* cars) {
  if (cars == nullptr || !cars->cars) return 0;
  return static_cast<int>(std::count_if(cars->cars->begin(), cars->cars->end(),
                                        [](const CarPtr& car) { return car->locate_status == "1"; }));
}

}  // namespace Korvane
