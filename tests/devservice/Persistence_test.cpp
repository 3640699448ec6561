// A file database keeps its data across restarts.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "ServiceHarness.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("devservice-test-" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

devservice::ServiceOptions OnFile(const fs::path& file) {
  devservice::ServiceOptions options;
  options.database = file.string();
  return options;
}

TEST(Persistence, ARestartKeepsCompaniesVehiclesTokensAndTracks) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "service.db";
  std::string token;
  std::string location;
  {
    ServiceHarness harness(OnFile(file));
    EXPECT_EQ(harness.service().storage().journalMode(), "wal");
    token = harness.newCompany("kept_fleet", "13612345678");
    ASSERT_TRUE(Succeeds(harness.call("/car/add", {{"token", token},
                                                   {"register_contact_number", "13612345678"},
                                                   {"plate_number", "鲁B12345"},
                                                   {"locate_number", "13512345678"},
                                                   {"driver_name", "赵刚"}})));
    ASSERT_EQ(harness.raw("GET", "/dev/authorise?plate_number=%E9%B2%81B12345").status, 200);
    const Json located = harness.call("/car/locate", {{"token", token},
                                                      {"register_contact_number", "13612345678"},
                                                      {"plate_number", "鲁B12345"}});
    ASSERT_TRUE(Succeeds(located));
    location = located["result"]["location"];
  }
  ASSERT_TRUE(fs::exists(file));

  ServiceHarness restarted(OnFile(file));
  const Json listed = restarted.call("/car/list", {{"token", token},
                                                   {"register_contact_number", "13612345678"},
                                                   {"sort_by", "used_priority"},
                                                   {"page_no", "1"},
                                                   {"page_size", "999"}});
  ASSERT_TRUE(Succeeds(listed)) << "the token of the first run still counts";
  ASSERT_EQ(listed["result"]["total_results"], 1);
  const Json& car = listed["result"]["car_lists"][0];
  EXPECT_EQ(car["driver_name"], "赵刚");
  EXPECT_EQ(car["location"], location);
  EXPECT_EQ(car["locate_status"], "1");
  const Json signedIn = restarted.call("/user/verify", {{"verify_for", "user"},
                                                        {"login_name", "kept_fleet"},
                                                        {"password", "secret99"}});
  ASSERT_TRUE(Succeeds(signedIn));
  EXPECT_DOUBLE_EQ(signedIn["result"]["account_balance"].get<double>(), 9.8);
  const Reply track = restarted.raw("GET", "/user/login_by_api?token=" + token +
                                               "&url_for=cars_orbit_view&client_for_windows=1"
                                               "&plate_number=%E9%B2%81B12345");
  EXPECT_EQ(track.status, 200);
  EXPECT_NE(track.body.find(location), std::string::npos);
}

TEST(Persistence, SeedingTwiceAddsTheDemoCompanyOnce) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "demo.db";
  for (int run = 0; run < 2; ++run) {
    ServiceHarness harness(OnFile(file));  // seeds the demo company each time it starts
    const Json listed = harness.call("/car/list", {{"token", harness.demoToken()},
                                                   {"register_contact_number", devservice::kDemoContactNumber},
                                                   {"sort_by", "used_priority"},
                                                   {"page_no", "1"},
                                                   {"page_size", "1"}});
    EXPECT_EQ(listed["result"]["total_results"], devservice::kDemoVehicleCount) << "run " << run;
  }
}

TEST(Persistence, GeneratedFleetsGrowAcrossRunsWithoutRepeatingPlates) {
  TemporaryFolder folder;
  const fs::path file = folder.path() / "fleet.db";
  for (int run = 0; run < 2; ++run) {
    devservice::Storage storage(file.string());
    EXPECT_EQ(devservice::SeedFleet(storage, 500, FixedNow()), 500);
  }
  ServiceHarness harness(OnFile(file));
  const Json listed = harness.call("/car/list", {{"token", harness.demoToken()},
                                                 {"register_contact_number", devservice::kDemoContactNumber},
                                                 {"sort_by", "seat_priority"},
                                                 {"page_no", "2"},
                                                 {"page_size", "1000"}});
  ASSERT_TRUE(Succeeds(listed));
  EXPECT_EQ(listed["result"]["total_results"], devservice::kDemoVehicleCount + 1000);
  EXPECT_EQ(listed["result"]["car_lists"].size(), 30u);
}

}  // namespace
}  // namespace devtest
