// Requests from several threads at once leave consistent data.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "ServiceHarness.h"
#include "devservice/Seed.h"
#include "devservice/Tracks.h"
#include "devservice/Vehicles.h"

namespace devtest {
namespace {

const std::string kContact = devservice::kDemoContactNumber;

TEST(Concurrency, ParallelAddsLocatesAndListsStayConsistent) {
  ServiceHarness harness;
  const std::string token = harness.demoToken();
  const Json before = harness.call("/car/list", {{"token", token},
                                                 {"register_contact_number", kContact},
                                                 {"sort_by", "used_priority"},
                                                 {"page_no", "1"},
                                                 {"page_size", "999"}});
  std::string opened;
  for (const Json& car : before["result"]["car_lists"]) {
    if (car["locate_status"] == "1") opened = car["plate_number"];
  }
  ASSERT_FALSE(opened.empty());
  auto positions = [&] {
    return harness.service().storage().transact([&](devservice::Database& db) {
      return devservice::CountPositions(db, devservice::FindVehicleByPlate(db, opened)->id);
    });
  };
  const std::int64_t positionsBefore = positions();

  constexpr int kThreads = 6;
  constexpr int kRounds = 15;
  std::atomic<int> located{0};
  std::atomic<int> added{0};
  std::atomic<int> failures{0};
  std::atomic<int> duplicatesAccepted{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const std::string plate = "粤B" + std::to_string(10000 + t * 100 + round);
        const std::string mobile = "1380000" + std::to_string(1000 + t * 100 + round);
        const Pairs car = {{"token", token}, {"register_contact_number", kContact},
                           {"plate_number", plate}, {"locate_number", mobile}};
        if (Succeeds(harness.call("/car/add", car))) ++added; else ++failures;
        // Every thread also tries one plate that all threads add: only one may succeed.
        const Pairs shared = {{"token", token}, {"register_contact_number", kContact},
                              {"plate_number", "粤C" + std::to_string(50000 + round)},
                              {"locate_number", "1370000" + std::to_string(1000 + round)}};
        if (Succeeds(harness.call("/car/add", shared))) ++duplicatesAccepted;
        const Json locate = harness.call("/car/locate", {{"token", token},
                                                         {"register_contact_number", kContact},
                                                         {"plate_number", opened}});
        if (Succeeds(locate)) ++located; else ++failures;
        const Json page = harness.call("/car/list", {{"token", token},
                                                     {"register_contact_number", kContact},
                                                     {"sort_by", "location_priority"},
                                                     {"page_no", "1"},
                                                     {"page_size", "999"}});
        if (!Succeeds(page) || page["result"]["car_lists"].size() !=
                                   page["result"]["total_results"].get<std::size_t>()) {
          ++failures;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(added.load(), kThreads * kRounds);
  EXPECT_EQ(duplicatesAccepted.load(), kRounds);
  const Json after = harness.call("/car/list", {{"token", token},
                                                {"register_contact_number", kContact},
                                                {"sort_by", "used_priority"},
                                                {"page_no", "1"},
                                                {"page_size", "999"}});
  EXPECT_EQ(after["result"]["total_results"],
            devservice::kDemoVehicleCount + kThreads * kRounds + kRounds);
  std::set<std::string> plates;
  for (const Json& car : after["result"]["car_lists"]) plates.insert(car["plate_number"]);
  EXPECT_EQ(plates.size(), after["result"]["car_lists"].size());
  // Every locate was charged exactly once.
  const Json signedIn = harness.call("/user/verify", {{"verify_for", "user"},
                                                      {"login_name", devservice::kDemoLoginName},
                                                      {"password", devservice::kDemoPassword}});
  EXPECT_EQ(located.load(), kThreads * kRounds);
  EXPECT_EQ(positions() - positionsBefore, located.load());
  EXPECT_NEAR(signedIn["result"]["account_balance"].get<double>(), 200.0 - 0.2 * located.load(),
              1e-9);
}

}  // namespace
}  // namespace devtest
