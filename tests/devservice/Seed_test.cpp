// The seeded demo company and generated fleets hold data the service itself would accept.
#include <gtest/gtest.h>

#include <set>

#include "ServiceHarness.h"
#include "devservice/AreaTable.h"
#include "devservice/Clock.h"
#include "devservice/Companies.h"
#include "devservice/Seed.h"
#include "devservice/Tracks.h"
#include "devservice/VehicleCalls.h"
#include "devservice/Vehicles.h"

namespace devtest {
namespace {

using namespace devservice;

std::vector<Vehicle> AllVehicles(Storage& storage, std::int64_t company) {
  return storage.transact([&](Database& db) {
    return ListVehicles(db, company, SortOrder::Used, "", 0, 1000000);
  });
}

std::int64_t DemoCompany(Storage& storage) {
  return storage.transact([](Database& db) { return FindCompanyByContact(db, kDemoContactNumber)->id; });
}

void ExpectAcceptable(const Vehicle& vehicle) {
  const Validates refusals = CheckVehicleFields(vehicle.data);
  EXPECT_TRUE(refusals.empty()) << vehicle.data.plate_number << ": " << refusals.json().dump();
  if (vehicle.position_code.empty()) {
    EXPECT_EQ(vehicle.location, "");
    EXPECT_EQ(vehicle.located_time, "");
    return;
  }
  const Area* place = FindArea(vehicle.position_code);
  ASSERT_NE(place, nullptr) << vehicle.data.plate_number;
  EXPECT_TRUE(place->isPlace());
  EXPECT_EQ(vehicle.location, LocationText(*place));
  EXPECT_TRUE(ParseLocalTime(vehicle.located_time).has_value()) << vehicle.located_time;
}

TEST(Seed, TheDemoFleetIsValidDataWithHistories) {
  Storage storage(":memory:");
  ASSERT_TRUE(SeedDemo(storage, FixedNow()));
  EXPECT_FALSE(SeedDemo(storage, FixedNow()));
  const std::int64_t company = DemoCompany(storage);
  const std::vector<Vehicle> vehicles = AllVehicles(storage, company);
  ASSERT_EQ(vehicles.size(), static_cast<std::size_t>(kDemoVehicleCount));
  int opened = 0;
  std::set<std::string> provinces;
  for (const Vehicle& vehicle : vehicles) {
    ExpectAcceptable(vehicle);
    opened += vehicle.locate_status;
    provinces.insert(vehicle.data.plate_number.substr(0, 3));
    if (vehicle.position_code.empty()) continue;
    const auto track = storage.transact([&](Database& db) { return TrackOf(db, vehicle.id); });
    ASSERT_GE(track.size(), 3u) << vehicle.data.plate_number;
    EXPECT_EQ(track.back().position_code, vehicle.position_code);
    EXPECT_EQ(FormatLocalTime(track.back().located_at), vehicle.located_time);
    EXPECT_LE(track.back().located_at, FixedNow());
  }
  EXPECT_GT(opened, 0);
  EXPECT_LT(opened, kDemoVehicleCount);
  EXPECT_GE(provinces.size(), 10u) << "plates of many provinces";
}

TEST(Seed, GeneratedFleetsAreValidAndDistinct) {
  Storage storage(":memory:");
  EXPECT_EQ(SeedFleet(storage, 2000, FixedNow()), 2000);
  const std::vector<Vehicle> vehicles = AllVehicles(storage, DemoCompany(storage));
  ASSERT_EQ(vehicles.size(), static_cast<std::size_t>(kDemoVehicleCount + 2000));
  std::set<std::string> plates;
  std::set<std::string> mobiles;
  for (const Vehicle& vehicle : vehicles) {
    ExpectAcceptable(vehicle);
    plates.insert(vehicle.data.plate_number);
    mobiles.insert(vehicle.data.locate_number);
  }
  EXPECT_EQ(plates.size(), vehicles.size());
  EXPECT_EQ(mobiles.size(), vehicles.size());
}

}  // namespace
}  // namespace devtest
