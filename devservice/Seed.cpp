#include "devservice/Seed.h"

#include "devservice/Clock.h"
#include "devservice/Companies.h"
#include "devservice/Meta.h"
#include "devservice/Movement.h"
#include "devservice/Tracks.h"
#include "devservice/VehicleFactory.h"

namespace devservice {
namespace {

constexpr std::time_t kYear = 365 * 24 * 3600;
constexpr const char* kDemoSeeded = "demo_company_id";
constexpr const char* kFleetNextIndex = "fleet_next_index";
// The cities the demo company works from: its seat and the city it signs in from.
constexpr const char* kDemoSeat = "330100";     // 杭州市
constexpr const char* kDemoCurrent = "330200";  // 宁波市

Company DemoCompany(std::time_t now) {
  Company company;
  company.name = kDemoCompanyName;
  company.contact_number = kDemoContactNumber;
  company.balance_fen = 20000;
  company.rebate = 1280;
  company.partner_name = "远通车联杭州服务中心";
  company.partner_contact_number = "0571-86610000";
  company.partner_address = "浙江省杭州市西湖区文三路100号";
  company.partner_contact_person = "王经理";
  company.partner_identification = "远通车联";
  company.current_city = "宁波市";
  company.seat_code = kDemoSeat;
  company.membership_deadline = FormatLocalTime(now + kYear);
  return company;
}

// Inserts a made vehicle with its position in one statement, kept prepared for bulk use.
class VehicleInserter {
 public:
  explicit VehicleInserter(Database& db)
      : db_(db),
        insert_(db.prepare(
            "INSERT OR IGNORE INTO vehicles (company_id, plate_number, locate_number, "
            "driver_name, expected_flow, driver_gender, driver_id_number, model_1, model_2, "
            "model_3, model_4, length, tonnage, volume, width, height, description, "
            "position_code, location, located_time, locate_status, used_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {}

  // The new vehicle's id, or none when its plate or locate number exists already.
  std::optional<std::int64_t> insert(std::int64_t company_id, const MadeVehicle& made) {
    const VehicleData& data = made.data;
    insert_.reset();
    insert_.bind(1, company_id);
    const std::string* texts[] = {&data.plate_number, &data.locate_number, &data.driver_name,
                                  &data.expected_flow, &data.driver_gender, &data.driver_id_number,
                                  &data.model_1, &data.model_2, &data.model_3, &data.model_4,
                                  &data.length, &data.tonnage, &data.volume, &data.width,
                                  &data.height, &data.description};
    int index = 2;
    for (const std::string* text : texts) insert_.bind(index++, *text);
    insert_.bind(18, made.place != nullptr ? made.place->code : "");
    insert_.bind(19, made.place != nullptr ? LocationText(*made.place) : "");
    insert_.bind(20, made.place != nullptr ? FormatLocalTime(made.located_at) : "");
    insert_.bind(21, made.locate_status);
    insert_.bind(22, static_cast<std::int64_t>(made.used_at));
    insert_.run();
    if (db_.changes() == 0) return std::nullopt;
    return db_.lastInsertId();
  }

 private:
  Database& db_;
  Statement insert_;
};

// Earlier positions leading to the vehicle's current one, some hours apart.
void SeedTrack(Database& db, std::int64_t vehicle_id, const MadeVehicle& made, int points) {
  if (made.place == nullptr) return;
  std::vector<const Area*> places{made.place};
  for (int i = 1; i < points; ++i) {
    places.push_back(&NextPlace(places.back()->code, made.data.expected_flow,
                                made.data.plate_number, 100 + static_cast<std::uint64_t>(i)));
  }
  std::time_t at = made.located_at - static_cast<std::time_t>(points - 1) * 5 * 3600;
  for (auto place = places.rbegin(); place != places.rend(); ++place, at += 5 * 3600) {
    RecordPosition(db, vehicle_id, (*place)->code, LocationText(**place), at);
  }
}

// The demo fleet puts a few vehicles into the company's two cities, so that each list order
// shows a different first page.
void PlaceInDemoCities(MadeVehicle& made, int index) {
  const char* code = index < 4 ? kDemoCurrent : index < 8 ? kDemoSeat : nullptr;
  if (code == nullptr) return;
  made.place = FindArea(code);
  made.located_at = made.used_at;
}

std::int64_t DemoCompanyId(Database& db) {
  const std::optional<std::string> id = ReadMeta(db, kDemoSeeded);
  return id ? std::stoll(*id) : 0;
}

}  // namespace

bool SeedDemo(Storage& storage, std::time_t now) {
  return storage.transact([&](Database& db) {
    if (DemoCompanyId(db) != 0) return false;
    const std::int64_t company = InsertCompany(db, DemoCompany(now));
    InsertAccount(db, company, kDemoLoginName, kDemoPassword, true);
    VehicleFactory factory(2016);
    VehicleInserter inserter(db);
    for (int added = 0; added < kDemoVehicleCount;) {
      MadeVehicle made = factory.make(now);
      PlaceInDemoCities(made, added);
      const std::optional<std::int64_t> id = inserter.insert(company, made);
      if (!id) continue;
      SeedTrack(db, *id, made, 3 + added % 6);
      ++added;
    }
    WriteMeta(db, kDemoSeeded, std::to_string(company));
    return true;
  });
}

std::int64_t SeedFleet(Storage& storage, std::int64_t count, std::time_t now) {
  SeedDemo(storage, now);
  return storage.transact([&](Database& db) {
    const std::int64_t company = DemoCompanyId(db);
    const std::optional<std::string> next = ReadMeta(db, kFleetNextIndex);
    std::uint64_t index = next ? std::stoull(*next) : 0;
    VehicleFactory factory(7 + index);
    VehicleInserter inserter(db);
    std::int64_t added = 0;
    while (added < count) {
      if (inserter.insert(company, factory.makeNumbered(index++, now))) ++added;
    }
    WriteMeta(db, kFleetNextIndex, std::to_string(index));
    return added;
  });
}

}  // namespace devservice
