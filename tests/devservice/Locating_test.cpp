// Locating now, opening locating (the SMS, its limits, the driver's reply) and its status.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "Korvane/Codec.h"
#include "ServiceHarness.h"
#include "devservice/AreaTable.h"
#include "devservice/Companies.h"
#include "devservice/Seed.h"
#include "devservice/Tracks.h"
#include "devservice/Vehicles.h"

namespace devtest {
namespace {

const std::string kContact = devservice::kDemoContactNumber;

// A demo vehicle whose locating is opened, and one whose is not.
struct DemoPlates {
  std::string opened;
  std::string closed;
};

class Locating : public ::testing::Test {
 protected:
  explicit Locating(devservice::ServiceOptions options = {}) : harness(std::move(options)) {}

  void SetUp() override {
    token = harness.demoToken();
    const Json cars = list()["result"]["car_lists"];
    for (const Json& car : cars) {
      const std::string status = car["locate_status"];
      if (status == "1" && plates.opened.empty()) plates.opened = car["plate_number"];
      if (status != "1" && plates.closed.empty()) plates.closed = car["plate_number"];
    }
    ASSERT_FALSE(plates.opened.empty());
    ASSERT_FALSE(plates.closed.empty());
  }

  Json list() const {
    return harness.call("/car/list", {{"token", token},
                                      {"register_contact_number", kContact},
                                      {"sort_by", "used_priority"},
                                      {"page_no", "1"},
                                      {"page_size", "999"}});
  }
  Json listed(const std::string& plate) const {
    const Json answer = list();
    for (const Json& car : answer["result"]["car_lists"]) {
      if (car["plate_number"] == plate) return car;
    }
    return Json();
  }
  Json plateCall(const std::string& path, const std::string& plate) const {
    return harness.call(path, {{"token", token},
                               {"register_contact_number", kContact},
                               {"plate_number", plate}});
  }
  int status(const std::string& plate) const {
    const Json answer = plateCall("/car/get_locate_status", plate);
    EXPECT_TRUE(Succeeds(answer));
    return answer.value("/result/locate_status"_json_pointer, -1);
  }
  Reply authorise(const std::string& plate, const std::string& company = "") const {
    std::string target = "/dev/authorise?plate_number=" + Korvane::UrlEncode(plate);
    if (!company.empty()) target += "&company=" + company;
    return harness.raw("GET", target);
  }
  std::int64_t balanceFen() {
    return harness.service().storage().transact([](devservice::Database& db) {
      return devservice::FindCompanyByContact(db, kContact)->balance_fen;
    });
  }
  bool consoleHas(const std::string& a, const std::string& b) const {
    for (const std::string& line : harness.service().console().lines()) {
      if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return true;
    }
    return false;
  }

  ServiceHarness harness;
  std::string token;
  DemoPlates plates;
};

TEST_F(Locating, LocateChargesAndAnswersThePositionPlainly) {
  const Reply reply = harness.get("/car/locate", {{"token", token},
                                                  {"register_contact_number", kContact},
                                                  {"plate_number", plates.opened}});
  ASSERT_EQ(reply.body.rfind("{", 0), 0u) << reply.body;
  const Json answer = Envelope(reply, false);
  ASSERT_TRUE(Succeeds(answer));
  EXPECT_DOUBLE_EQ(answer["result"]["account_balance"].get<double>(), 199.8);
  EXPECT_EQ(balanceFen(), 19980);
  const std::string location = answer["result"]["location"];
  const Json car = listed(plates.opened);
  EXPECT_EQ(car["location"], location);
  EXPECT_EQ(car["located_time"], "2024-05-14 10:00:00");

  harness.service().clock().advance(90);
  const Json again = plateCall("/car/locate", plates.opened);
  ASSERT_TRUE(Succeeds(again));
  EXPECT_DOUBLE_EQ(again["result"]["account_balance"].get<double>(), 199.6);
  EXPECT_EQ(listed(plates.opened)["located_time"], "2024-05-14 10:01:30");
}

TEST_F(Locating, LocateRefusalsChargeNothing) {
  EXPECT_TRUE(FailsWith(plateCall("/car/locate", plates.closed), "604"));
  EXPECT_TRUE(FailsWith(plateCall("/car/locate", "浙Z99999"), "201"));
  harness.service().storage().transact([](devservice::Database& db) {
    devservice::SetBalance(db, devservice::FindCompanyByContact(db, kContact)->id, 19);
  });
  EXPECT_TRUE(FailsWith(plateCall("/car/locate", plates.opened), "605"));
  EXPECT_EQ(balanceFen(), 19);
  harness.service().storage().transact([](devservice::Database& db) {
    devservice::SetBalance(db, devservice::FindCompanyByContact(db, kContact)->id, 20000);
  });
  // The demo membership runs one year.
  harness.service().clock().advance(366 * 24 * 3600);
  EXPECT_TRUE(FailsWith(plateCall("/car/locate", plates.opened), "606"));
  EXPECT_EQ(balanceFen(), 20000);
}

// Area names of "province,city" location texts.
std::map<std::string, const devservice::Area*> AreasByName() {
  std::map<std::string, const devservice::Area*> byName;
  for (const devservice::Area& area : devservice::Areas()) byName[area.name] = &area;
  return byName;
}

TEST_F(Locating, EveryLocateMovesPlausiblyAndIsRecorded) {
  const auto byName = AreasByName();
  std::vector<const devservice::Area*> visited;
  for (int i = 0; i < 40; ++i) {
    harness.service().clock().advance(3600);
    const Json answer = plateCall("/car/locate", plates.opened);
    ASSERT_TRUE(Succeeds(answer));
    const std::string location = answer["result"]["location"];
    const std::size_t comma = location.find(',');
    ASSERT_NE(comma, std::string::npos) << location;
    const auto province = byName.find(location.substr(0, comma));
    const auto place = byName.find(location.substr(comma + 1));
    ASSERT_TRUE(province != byName.end() && province->second->isProvince()) << location;
    ASSERT_TRUE(place != byName.end() && place->second->isPlace()) << location;
    EXPECT_EQ(place->second->provinceCode(), province->second->code) << location;
    visited.push_back(place->second);
  }
  // Each step stays in the part of the country or heads for one of the destinations.
  const std::string flow = harness.service().storage().transact([&](devservice::Database& db) {
    return devservice::FindVehicleByPlate(db, plates.opened)->data.expected_flow;
  });
  for (std::size_t i = 1; i < visited.size(); ++i) {
    const bool sameRegion = visited[i]->code[0] == visited[i - 1]->code[0];
    const bool destination = flow.find(visited[i]->code) != std::string::npos ||
                             flow.find(visited[i]->provinceCode()) != std::string::npos;
    EXPECT_TRUE(sameRegion || destination) << visited[i - 1]->name << " -> " << visited[i]->name;
  }
  // The track holds every locate, in order, after the seeded history.
  const auto track = harness.service().storage().transact([&](devservice::Database& db) {
    return devservice::TrackOf(db, devservice::FindVehicleByPlate(db, plates.opened)->id);
  });
  ASSERT_GE(track.size(), visited.size());
  for (std::size_t i = 0; i < visited.size(); ++i) {
    EXPECT_EQ(track[track.size() - visited.size() + i].position_code, visited[i]->code);
  }
}

TEST_F(Locating, OpenLocateSendsTheSmsAndCountsTodaysRequests) {
  const Reply reply = harness.get("/car/open_locate", {{"token", token},
                                                       {"register_contact_number", kContact},
                                                       {"plate_number", plates.closed}});
  ASSERT_EQ(reply.body.rfind("%7B", 0), 0u) << reply.body;
  const Json first = Envelope(reply, true);
  ASSERT_TRUE(Succeeds(first));
  EXPECT_EQ(first["result"]["request_times"], 1);
  const std::string mobile = listed(plates.closed)["locate_number"];
  EXPECT_TRUE(consoleHas(mobile, plates.closed));

  // Within 60 seconds: too frequent; then the second and third of the day; then the limit.
  const std::vector<std::pair<std::time_t, std::string>> steps = {
      {30, "213"}, {29, "213"}, {1, "2"}, {61, "3"}, {61, "207"}, {3600, "207"}};
  for (const auto& [wait, expected] : steps) {
    harness.service().clock().advance(wait);
    const Json answer = plateCall("/car/open_locate", plates.closed);
    if (expected.size() == 3) {
      EXPECT_TRUE(FailsWith(answer, expected)) << "after " << wait;
    } else {
      ASSERT_TRUE(Succeeds(answer)) << "after " << wait;
      EXPECT_EQ(answer["result"]["request_times"], std::stoi(expected));
    }
  }
  // A new day starts counting again.
  harness.service().clock().advance(24 * 3600);
  const Json nextDay = plateCall("/car/open_locate", plates.closed);
  ASSERT_TRUE(Succeeds(nextDay));
  EXPECT_EQ(nextDay["result"]["request_times"], 1);
  EXPECT_EQ(status(plates.closed), 0);
}

TEST_F(Locating, TheDriversReplyOpensLocating) {
  ASSERT_TRUE(Succeeds(plateCall("/car/open_locate", plates.closed)));
  EXPECT_EQ(status(plates.closed), 0);
  EXPECT_TRUE(FailsWith(plateCall("/car/locate", plates.closed), "604"));
  EXPECT_EQ(authorise(plates.closed, "someone_else").status, 404);
  EXPECT_EQ(status(plates.closed), 0);
  EXPECT_EQ(authorise(plates.closed, kContact).status, 200);
  EXPECT_EQ(status(plates.closed), 1);
  EXPECT_EQ(listed(plates.closed)["locate_status"], "1");
  EXPECT_TRUE(Succeeds(plateCall("/car/locate", plates.closed)));
  harness.service().clock().advance(120);
  EXPECT_TRUE(FailsWith(plateCall("/car/open_locate", plates.closed), "206"));
  EXPECT_EQ(authorise("浙Z99999").status, 404);
  EXPECT_EQ(authorise(plates.opened, devservice::kDemoLoginName).status, 200);
}

TEST_F(Locating, StatusIsAnIntegerInAUrlEncodedAnswer) {
  const Reply reply = harness.get("/car/get_locate_status", {{"token", token},
                                                             {"register_contact_number", kContact},
                                                             {"plate_number", plates.opened}});
  ASSERT_EQ(reply.body.rfind("%7B", 0), 0u) << reply.body;
  const Json answer = Envelope(reply, true);
  ASSERT_TRUE(Succeeds(answer));
  EXPECT_TRUE(answer["result"]["locate_status"].is_number_integer());
  EXPECT_EQ(answer["result"]["locate_status"], 1);
  EXPECT_EQ(status(plates.closed), 0);
  EXPECT_TRUE(FailsWith(plateCall("/car/get_locate_status", "浙Z99999"), "201"));
}

devservice::ServiceOptions AutoAuthorise(int seconds) {
  devservice::ServiceOptions options;
  options.auto_authorise_seconds = seconds;
  return options;
}

class AutoAuthorisation : public Locating {
 protected:
  AutoAuthorisation() : Locating(AutoAuthorise(30)) {}
};

TEST_F(AutoAuthorisation, OpensLocatingWhenTheDelayHasPassed) {
  ASSERT_TRUE(Succeeds(plateCall("/car/open_locate", plates.closed)));
  harness.service().clock().advance(29);
  EXPECT_EQ(status(plates.closed), 0);
  harness.service().clock().advance(1);
  EXPECT_EQ(status(plates.closed), 1);
  EXPECT_TRUE(consoleHas("自动", plates.closed));
}

TEST_F(AutoAuthorisation, TheBackgroundTickOpensItWithoutARequest) {
  ASSERT_TRUE(Succeeds(plateCall("/car/open_locate", plates.closed)));
  harness.service().clock().advance(30);
  // Nothing asks the service; its own tick must notice the due authorisation.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!consoleHas("自动", plates.closed) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(consoleHas("自动", plates.closed));
}

}  // namespace
}  // namespace devtest
