// The vehicles of the companies: their data as the client edits it, their last position and
// whether locating is opened for them.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "devservice/Database.h"

namespace devservice {

// The fields a client sends when it adds or edits a vehicle.
struct VehicleData {
  std::string plate_number;
  std::string locate_number;
  std::string driver_name;
  std::string expected_flow;  // area codes joined by ","
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
};

struct Vehicle {
  std::int64_t id = 0;
  std::int64_t company_id = 0;
  VehicleData data;
  std::string position_code;  // area code of the last position
  std::string location;       // "浙江省,杭州市"
  std::string located_time;   // "yyyy-mm-dd hh:nn:ss"
  int locate_status = 0;      // 1 once the driver has authorised locating
  std::time_t used_at = 0;
};

enum class SortOrder {
  Used,   // most recently used or located first
  Place,  // vehicles in a given place first, each part most recently used first
};

std::int64_t InsertVehicle(Database& db, std::int64_t company_id, const VehicleData& data,
                           std::time_t now);
// Replaces the editable data; a new locate number closes locating until the new phone's
// driver authorises it.
void UpdateVehicleData(Database& db, const Vehicle& vehicle, const VehicleData& data,
                       std::time_t now);
void DeleteVehicle(Database& db, std::int64_t vehicle_id);

std::optional<Vehicle> FindVehicle(Database& db, std::int64_t company_id,
                                   const std::string& plate_number);
// The vehicle with this plate in any company.
std::optional<Vehicle> FindVehicleByPlate(Database& db, const std::string& plate_number);
bool PlateTaken(Database& db, const std::string& plate_number);
// The id of the company's vehicle that uses this locate number, if any.
std::optional<std::int64_t> VehicleUsingLocateNumber(Database& db, std::int64_t company_id,
                                                     const std::string& locate_number);

std::int64_t CountVehicles(Database& db, std::int64_t company_id);
// One page of the company's vehicles. `placeCode` is the area code that Place puts first.
std::vector<Vehicle> ListVehicles(Database& db, std::int64_t company_id, SortOrder order,
                                  const std::string& placeCode, std::int64_t offset,
                                  std::int64_t limit);

void SetPosition(Database& db, std::int64_t vehicle_id, const std::string& position_code,
                 const std::string& location, std::time_t at);
void MarkUsed(Database& db, std::int64_t vehicle_id, std::time_t now);
// Opens locating (the driver replied "Y"); any pending automatic authorisation is dropped.
void OpenLocating(Database& db, std::int64_t vehicle_id);
// Locating opens by itself at `due` unless it opens earlier.
void ScheduleAuthorisation(Database& db, std::int64_t vehicle_id, std::time_t due);
// Opens locating of every vehicle whose scheduled authorisation is due; returns their plates.
std::vector<std::string> ApplyDueAuthorisations(Database& db, std::time_t now);

}  // namespace devservice
