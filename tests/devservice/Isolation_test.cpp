// A company sees and changes only its own vehicles.
#include <gtest/gtest.h>

#include "ServiceHarness.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

const std::string kDemo = devservice::kDemoContactNumber;
const std::string kOther = "13700001234";

class CompanyIsolation : public ::testing::Test {
 protected:
  void SetUp() override {
    demoToken = harness.demoToken();
    otherToken = harness.newCompany("other_fleet", kOther);
    const Json cars = list(demoToken, kDemo)["result"]["car_lists"];
    for (const Json& car : cars) {
      if (car["locate_status"] == "1") demoPlate = car["plate_number"];
    }
    ASSERT_FALSE(demoPlate.empty());
    ASSERT_TRUE(Succeeds(harness.call("/car/add", {{"token", otherToken},
                                                   {"register_contact_number", kOther},
                                                   {"plate_number", "苏E77777"},
                                                   {"locate_number", "13977777777"}})));
  }
  Json list(const std::string& token, const std::string& contact) const {
    return harness.call("/car/list", {{"token", token},
                                      {"register_contact_number", contact},
                                      {"sort_by", "used_priority"},
                                      {"page_no", "1"},
                                      {"page_size", "999"}});
  }
  Pairs plateCall(const std::string& token, const std::string& contact,
                  const std::string& plate) const {
    return {{"token", token}, {"register_contact_number", contact}, {"plate_number", plate}};
  }

  ServiceHarness harness;
  std::string demoToken;
  std::string otherToken;
  std::string demoPlate;
};

TEST_F(CompanyIsolation, EachListHoldsOnlyTheCompanysVehicles) {
  const Json other = list(otherToken, kOther);
  ASSERT_TRUE(Succeeds(other));
  EXPECT_EQ(other["result"]["total_results"], 1);
  EXPECT_EQ(other["result"]["car_lists"][0]["plate_number"], "苏E77777");
  const Json demo = list(demoToken, kDemo);
  EXPECT_EQ(demo["result"]["total_results"], devservice::kDemoVehicleCount);
  for (const Json& car : demo["result"]["car_lists"]) EXPECT_NE(car["plate_number"], "苏E77777");
}

TEST_F(CompanyIsolation, AnotherCompanysContactNumberIsRefused) {
  const std::vector<std::string> paths = {"/car/locate", "/car/open_locate",
                                          "/car/get_locate_status", "/car/delete"};
  for (const std::string& path : paths) {
    EXPECT_TRUE(FailsWith(harness.call(path, plateCall(otherToken, kDemo, demoPlate)), "111"))
        << path;
  }
  EXPECT_TRUE(FailsWith(list(otherToken, kDemo), "111"));
  EXPECT_TRUE(FailsWith(harness.call("/car/add", {{"token", otherToken},
                                                  {"register_contact_number", kDemo},
                                                  {"plate_number", "苏E88888"},
                                                  {"locate_number", "13988888888"}}),
                        "111"));
}

TEST_F(CompanyIsolation, AnotherCompanysPlateIsNotFoundAndStaysUnchanged) {
  const std::vector<std::string> paths = {"/car/locate", "/car/open_locate",
                                          "/car/get_locate_status", "/car/delete"};
  for (const std::string& path : paths) {
    EXPECT_TRUE(FailsWith(harness.call(path, plateCall(otherToken, kOther, demoPlate)), "201"))
        << path;
  }
  EXPECT_TRUE(FailsWith(harness.call("/car/edit", {{"token", otherToken},
                                                   {"register_contact_number", kOther},
                                                   {"plate_number", demoPlate},
                                                   {"locate_number", "13966666666"},
                                                   {"driver_name", "冒名"}}),
                        "201"));
  // The demo vehicle kept its data, and the other company paid nothing for it.
  bool found = false;
  const Json demo = list(demoToken, kDemo);
  for (const Json& car : demo["result"]["car_lists"]) {
    if (car["plate_number"] != demoPlate) continue;
    found = true;
    EXPECT_NE(car["driver_name"], "冒名");
  }
  EXPECT_TRUE(found);
  const Json signedIn = harness.call("/user/verify", {{"verify_for", "user"},
                                                      {"login_name", "other_fleet"},
                                                      {"password", "secret99"}});
  EXPECT_DOUBLE_EQ(signedIn["result"]["account_balance"].get<double>(), 10.0);
}

TEST_F(CompanyIsolation, APlateIsRegisteredOnceAcrossCompanies) {
  const Json answer = harness.call("/car/add", {{"token", otherToken},
                                                {"register_contact_number", kOther},
                                                {"plate_number", demoPlate},
                                                {"locate_number", "13955555555"}});
  ASSERT_TRUE(FailsWith(answer, "300"));
  EXPECT_EQ(answer["error"]["validates"]["plate_number"][0], "车牌号码已经注册");
}

TEST_F(CompanyIsolation, TokensAreCheckedBeforeAnything) {
  EXPECT_TRUE(FailsWith(harness.call("/car/list", {{"token", "0123456789abcdef0123456789abcdef"},
                                                   {"register_contact_number", kDemo},
                                                   {"sort_by", "used_priority"}}),
                        "105"));
  EXPECT_TRUE(FailsWith(harness.call("/car/delete", plateCall("", kDemo, demoPlate)), "105"));
  EXPECT_EQ(list(demoToken, kDemo)["result"]["total_results"], devservice::kDemoVehicleCount);
}

}  // namespace
}  // namespace devtest
