#include "devservice/Vehicles.h"

#include <algorithm>

#include "devservice/Clock.h"

namespace devservice {
namespace {

constexpr const char* kVehicleColumns =
    "id, company_id, plate_number, locate_number, driver_name, expected_flow, driver_gender, "
    "driver_id_number, model_1, model_2, model_3, model_4, length, tonnage, volume, width, "
    "height, description, position_code, location, located_time, locate_status, used_at";

Vehicle ReadVehicle(const Statement& row) {
  Vehicle vehicle;
  vehicle.id = row.integer(0);
  vehicle.company_id = row.integer(1);
  VehicleData& data = vehicle.data;
  data.plate_number = row.text(2);
  data.locate_number = row.text(3);
  data.driver_name = row.text(4);
  data.expected_flow = row.text(5);
  data.driver_gender = row.text(6);
  data.driver_id_number = row.text(7);
  data.model_1 = row.text(8);
  data.model_2 = row.text(9);
  data.model_3 = row.text(10);
  data.model_4 = row.text(11);
  data.length = row.text(12);
  data.tonnage = row.text(13);
  data.volume = row.text(14);
  data.width = row.text(15);
  data.height = row.text(16);
  data.description = row.text(17);
  vehicle.position_code = row.text(18);
  vehicle.location = row.text(19);
  vehicle.located_time = row.text(20);
  vehicle.locate_status = static_cast<int>(row.integer(21));
  vehicle.used_at = static_cast<std::time_t>(row.integer(22));
  return vehicle;
}

// Binds the editable fields to parameters first ... first + 14 (the plate is bound apart).
void BindEditableFields(Statement& statement, int first, const VehicleData& data) {
  const std::string* fields[] = {
      &data.locate_number, &data.driver_name, &data.expected_flow, &data.driver_gender,
      &data.driver_id_number, &data.model_1, &data.model_2, &data.model_3, &data.model_4,
      &data.length, &data.tonnage, &data.volume, &data.width, &data.height, &data.description};
  int index = first;
  for (const std::string* field : fields) statement.bind(index++, *field);
}

// Appends the vehicles that match `where` (?1 the company, ?2 the place), most recently
// used first. Only the ids are ordered; the rows are read for the page alone.
void AppendByUse(Database& db, std::vector<Vehicle>& vehicles, const char* where,
                 std::int64_t company_id, const std::string& placeCode, std::int64_t offset,
                 std::int64_t limit) {
  Statement query = db.prepare(std::string("SELECT ") + kVehicleColumns +
                               " FROM vehicles WHERE id IN (SELECT id FROM vehicles WHERE " +
                               where + " ORDER BY used_at DESC, id DESC LIMIT ?3 OFFSET ?4) "
                               "ORDER BY used_at DESC, id DESC");
  query.bind(1, company_id);
  if (!placeCode.empty()) query.bind(2, placeCode);
  query.bind(3, limit).bind(4, offset);
  while (query.step()) vehicles.push_back(ReadVehicle(query));
}

std::int64_t CountInPlace(Database& db, std::int64_t company_id, const std::string& placeCode) {
  Statement query =
      db.prepare("SELECT COUNT(*) FROM vehicles WHERE company_id = ? AND position_code = ?");
  query.bind(1, company_id).bind(2, placeCode);
  query.step();
  return query.integer(0);
}

}  // namespace

std::int64_t InsertVehicle(Database& db, std::int64_t company_id, const VehicleData& data,
                           std::time_t now) {
  Statement insert = db.prepare(
      "INSERT INTO vehicles (company_id, plate_number, locate_number, driver_name, "
      "expected_flow, driver_gender, driver_id_number, model_1, model_2, model_3, model_4, "
      "length, tonnage, volume, width, height, description, used_at) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.bind(1, company_id).bind(2, data.plate_number);
  BindEditableFields(insert, 3, data);
  insert.bind(18, static_cast<std::int64_t>(now)).run();
  return db.lastInsertId();
}

void UpdateVehicleData(Database& db, const Vehicle& vehicle, const VehicleData& data,
                       std::time_t now) {
  Statement update = db.prepare(
      "UPDATE vehicles SET locate_number = ?, driver_name = ?, expected_flow = ?, "
      "driver_gender = ?, driver_id_number = ?, model_1 = ?, model_2 = ?, model_3 = ?, "
      "model_4 = ?, length = ?, tonnage = ?, volume = ?, width = ?, height = ?, "
      "description = ?, used_at = ? WHERE id = ?");
  BindEditableFields(update, 1, data);
  update.bind(16, static_cast<std::int64_t>(now)).bind(17, vehicle.id).run();
  if (data.locate_number != vehicle.data.locate_number) {
    db.prepare("UPDATE vehicles SET locate_status = 0, authorise_due = NULL WHERE id = ?")
        .bind(1, vehicle.id)
        .run();
  }
}

void DeleteVehicle(Database& db, std::int64_t vehicle_id) {
  db.prepare("DELETE FROM vehicles WHERE id = ?").bind(1, vehicle_id).run();
}

std::optional<Vehicle> FindVehicle(Database& db, std::int64_t company_id,
                                   const std::string& plate_number) {
  Statement query = db.prepare(std::string("SELECT ") + kVehicleColumns +
                               " FROM vehicles WHERE company_id = ? AND plate_number = ?");
  query.bind(1, company_id).bind(2, plate_number);
  if (!query.step()) return std::nullopt;
  return ReadVehicle(query);
}

std::optional<Vehicle> FindVehicleByPlate(Database& db, const std::string& plate_number) {
  Statement query = db.prepare(std::string("SELECT ") + kVehicleColumns +
                               " FROM vehicles WHERE plate_number = ?");
  query.bind(1, plate_number);
  if (!query.step()) return std::nullopt;
  return ReadVehicle(query);
}

bool PlateTaken(Database& db, const std::string& plate_number) {
  Statement query = db.prepare("SELECT 1 FROM vehicles WHERE plate_number = ?");
  query.bind(1, plate_number);
  return query.step();
}

std::optional<std::int64_t> VehicleUsingLocateNumber(Database& db, std::int64_t company_id,
                                                     const std::string& locate_number) {
  Statement query =
      db.prepare("SELECT id FROM vehicles WHERE company_id = ? AND locate_number = ?");
  query.bind(1, company_id).bind(2, locate_number);
  if (!query.step()) return std::nullopt;
  return query.integer(0);
}

std::int64_t CountVehicles(Database& db, std::int64_t company_id) {
  Statement query = db.prepare("SELECT COUNT(*) FROM vehicles WHERE company_id = ?");
  query.bind(1, company_id);
  query.step();
  return query.integer(0);
}

std::vector<Vehicle> ListVehicles(Database& db, std::int64_t company_id, SortOrder order,
                                  const std::string& placeCode, std::int64_t offset,
                                  std::int64_t limit) {
  std::vector<Vehicle> vehicles;
  if (order == SortOrder::Used || placeCode.empty()) {
    AppendByUse(db, vehicles, "company_id = ?1", company_id, "", offset, limit);
    return vehicles;
  }
  // The vehicles in the place, then all others; each part in the order of use. Both parts
  // are read along an index, so deep pages of a large fleet stay cheap.
  const std::int64_t inPlace = CountInPlace(db, company_id, placeCode);
  if (offset < inPlace) {
    AppendByUse(db, vehicles, "company_id = ?1 AND position_code = ?2", company_id, placeCode,
                offset, limit);
  }
  const std::int64_t remaining = limit - static_cast<std::int64_t>(vehicles.size());
  if (remaining > 0) {
    AppendByUse(db, vehicles, "company_id = ?1 AND position_code <> ?2", company_id, placeCode,
                std::max<std::int64_t>(0, offset - inPlace), remaining);
  }
  return vehicles;
}

void SetPosition(Database& db, std::int64_t vehicle_id, const std::string& position_code,
                 const std::string& location, std::time_t at) {
  db.prepare(
        "UPDATE vehicles SET position_code = ?, location = ?, located_time = ?, used_at = ? "
        "WHERE id = ?")
      .bind(1, position_code)
      .bind(2, location)
      .bind(3, FormatLocalTime(at))
      .bind(4, static_cast<std::int64_t>(at))
      .bind(5, vehicle_id)
      .run();
}

void MarkUsed(Database& db, std::int64_t vehicle_id, std::time_t now) {
  db.prepare("UPDATE vehicles SET used_at = ? WHERE id = ?")
      .bind(1, static_cast<std::int64_t>(now))
      .bind(2, vehicle_id)
      .run();
}

void OpenLocating(Database& db, std::int64_t vehicle_id) {
  db.prepare("UPDATE vehicles SET locate_status = 1, authorise_due = NULL WHERE id = ?")
      .bind(1, vehicle_id)
      .run();
}

void ScheduleAuthorisation(Database& db, std::int64_t vehicle_id, std::time_t due) {
  db.prepare("UPDATE vehicles SET authorise_due = ? WHERE id = ?")
      .bind(1, static_cast<std::int64_t>(due))
      .bind(2, vehicle_id)
      .run();
}

std::vector<std::string> ApplyDueAuthorisations(Database& db, std::time_t now) {
  Statement due = db.prepare(
      "SELECT id, plate_number FROM vehicles WHERE authorise_due IS NOT NULL AND authorise_due <= ?");
  due.bind(1, static_cast<std::int64_t>(now));
  std::vector<std::int64_t> ids;
  std::vector<std::string> plates;
  while (due.step()) {
    ids.push_back(due.integer(0));
    plates.push_back(due.text(1));
  }
  for (std::int64_t id : ids) OpenLocating(db, id);
  return plates;
}

}  // namespace devservice
