// The account and vehicle calls end to end against vandrel-devservice on a free port.
#include <gtest/gtest.h>

#include <algorithm>

#include "Korvane/AccountCalls.h"
#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Deployment.h"
#include "Korvane/VehicleCalls.h"
#include "support/DevServiceProcess.h"
#include "support/LogFile.h"

namespace Korvane {
namespace {

using testsupport::DevServiceProcess;

class ServiceCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApiBaseUrl(service.baseUrl());
    SetCompany(nullptr);
    SetCurrentCars(nullptr);
  }
  void TearDown() override {
    SetClock({});
    SetCompany(nullptr);
    SetCurrentCars(nullptr);
    SetApiBaseUrl(kDefaultServiceUrl);
  }
  void SignInDemo() {
    const TMYResult r = Verify(VerifyMode::User, DevServiceProcess::kDemoLogin, DevServiceProcess::kDemoPassword);
    ASSERT_TRUE(r.success) << r.code << " " << r.message;
  }
  std::string number() const { return Company()->register_contact_number; }
  std::shared_ptr<TCars> FirstPage(int sort) {
    auto page = std::make_shared<TCars>();
    const TMYResult r = GetCarPage(number(), 1, sort, *page);
    EXPECT_TRUE(r.success) << r.code << " " << r.message;
    return page;
  }
  CarPtr FirstWithStatus(const TCars& cars, bool opened) {
    for (const CarPtr& car : *cars.cars) {
      if ((car->locate_status == "1") == opened) return car;
    }
    return nullptr;
  }

  DevServiceProcess service;
  testsupport::ScopedLogFolder log;
};

TEST_F(ServiceCalls, SignInFillsTheSessionRecord) {
  SignInDemo();
  const auto company = Company();
  EXPECT_EQ(company->register_contact_number, DevServiceProcess::kDemoContact);
  EXPECT_FALSE(company->company_name.empty());
  EXPECT_FALSE(company->token.empty());
  EXPECT_GT(company->account_balance, 0.0);
  EXPECT_TRUE(company->membership_valid);
  EXPECT_EQ(company->login_name, "demo");

  const TMYResult wrong = Verify(VerifyMode::User, "demo", "wrong password");
  EXPECT_FALSE(wrong.success);
  EXPECT_FALSE(wrong.code.empty());
  EXPECT_EQ(Company(), company) << "a refusal keeps the session";
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(ServiceCalls, RegistersANewCompanyThroughAnAccessSession) {
  ASSERT_TRUE(Verify(VerifyMode::Access, "", "").success);
  EXPECT_EQ(Company()->login_name, "");
  const std::string mobile = "13912345670";
  const TMYResult sent = RequestCaptcha(mobile);
  ASSERT_TRUE(sent.success) << sent.code << " " << sent.message << sent.detail;
  const std::string code = service.dev("captcha", "contact_number=" + mobile)["captcha"];

  const TMYResult wrongCode = RegisterUser("newco_1", "s3cret&x=1", "新公司", mobile, "000000", "330100");
  EXPECT_FALSE(wrongCode.success);

  const TMYResult registered = RegisterUser("newco_1", "s3cret&x=1", "新公司", mobile, code, "330100");
  ASSERT_TRUE(registered.success) << registered.code << " " << registered.message << registered.detail;

  const TMYResult duplicate = RegisterUser("newco_1", "s3cret&x=1", "新公司", mobile, code, "330100");
  EXPECT_FALSE(duplicate.success);
  EXPECT_NE(duplicate.detail.find("\r\n\r\n"), std::string::npos) << "refusals name their fields";

  const TMYResult inactive = Verify(VerifyMode::User, "newco_1", "s3cret&x=1");
  EXPECT_EQ(inactive.code, "622");
  service.dev("activate", "login_name=newco_1");
  const TMYResult signedIn = Verify(VerifyMode::User, "newco_1", "s3cret&x=1");
  ASSERT_TRUE(signedIn.success) << signedIn.code << " " << signedIn.message;
  EXPECT_EQ(Company()->register_contact_number, mobile);
  EXPECT_EQ(Company()->password, "s3cret&x=1");

  TCars none;
  ASSERT_TRUE(GetCarPage(mobile, 1, 0, none).success);
  EXPECT_EQ(none.total_results, 0);
  EXPECT_FALSE(none.cars && !none.cars->empty());
}

TEST_F(ServiceCalls, ListsInEachSortOrder) {
  SignInDemo();
  const auto company = Company();
  for (int sort : {0, 1, 2}) {
    SCOPED_TRACE(sort);
    const auto page = FirstPage(sort);
    ASSERT_TRUE(page->cars);
    EXPECT_EQ(static_cast<int>(page->cars->size()), page->total_results);
    EXPECT_GE(page->total_results, 20);
    if (sort == 1) {
      EXPECT_NE(page->cars->front()->location.find(company->current_city), std::string::npos)
          << page->cars->front()->location;
    }
  }
  // The seat-city order puts vehicles of the seat city first; the location order those of the
  // current city, and the two cities differ for the demo company.
  const auto bySeat = FirstPage(2), byLocation = FirstPage(1);
  EXPECT_NE(bySeat->cars->front()->plate_number, byLocation->cars->front()->plate_number);
}

TEST_F(ServiceCalls, AddsEditsAndDeletesAVehicle) {
  SignInDemo();
  TCar car;
  car.register_contact_number = number();
  car.plate_number = "浙Z9X8Y7";
  car.locate_number = "13700001111";
  car.driver_name = "测试司机";
  car.driver_gender = "男";
  car.driver_id_number = "50%&=off";
  car.model_1 = "CM1_03";
  car.model_2 = "CM2_04";
  car.length = "9.6";
  car.tonnage = "30";
  car.expected_flow = "330100,320100";  // the editor sends area codes
  car.description = "常跑 长三角";
  const TMYResult added = SaveCar(car, 1);
  ASSERT_TRUE(added.success) << added.code << " " << added.message << added.detail;

  const TMYResult again = SaveCar(car, 1);
  EXPECT_FALSE(again.success);
  EXPECT_NE(again.detail.find("\r\n\r\n"), std::string::npos);

  auto page = FirstPage(0);
  auto it = std::find_if(page->cars->begin(), page->cars->end(), [](const CarPtr& c) { return c->plate_number == "浙Z9X8Y7"; });
  ASSERT_NE(it, page->cars->end()) << "the list still reads with a % inside a vehicle's text";
  EXPECT_EQ((*it)->driver_id_number, "50%&=off");
  EXPECT_EQ((*it)->description, "常跑 长三角");
  EXPECT_EQ((*it)->model_1, "CM1_03");
  EXPECT_FALSE((*it)->expected_flow.empty());

  car.driver_name = "新司机";
  const TMYResult edited = SaveCar(car, 2);
  ASSERT_TRUE(edited.success) << edited.code << " " << edited.message << edited.detail;
  page = FirstPage(0);
  it = std::find_if(page->cars->begin(), page->cars->end(), [](const CarPtr& c) { return c->plate_number == "浙Z9X8Y7"; });
  ASSERT_NE(it, page->cars->end());
  EXPECT_EQ((*it)->driver_name, "新司机");

  const int before = page->total_results;
  ASSERT_TRUE(DeleteCar(number(), "浙Z9X8Y7").success);
  page = FirstPage(0);
  EXPECT_EQ(page->total_results, before - 1);
  EXPECT_FALSE(DeleteCar(number(), "浙Z9X8Y7").success);
}

TEST_F(ServiceCalls, LocatesAnOpenedVehicleAndChargesForIt) {
  SignInDemo();
  const auto page = FirstPage(0);
  SetCurrentCars(page);
  const CarPtr opened = FirstWithStatus(*page, true);
  const CarPtr closed = FirstWithStatus(*page, false);
  ASSERT_TRUE(opened && closed);
  const auto now = std::chrono::system_clock::now();
  SetClock([now] { return now; });
  const double balance = Company()->account_balance;

  const TMYResult located = LocateCar(number(), opened->plate_number);
  ASSERT_TRUE(located.success) << located.code << " " << located.message;
  EXPECT_FALSE(located.detail.empty());
  EXPECT_EQ(opened->location, located.detail);
  EXPECT_EQ(opened->located_time, FormatDateTime(now));
  EXPECT_NEAR(Company()->account_balance, balance - 0.2, 1e-9);

  const TMYResult refused = LocateCar(number(), closed->plate_number);
  EXPECT_EQ(refused.code, "604");
  EXPECT_NEAR(Company()->account_balance, balance - 0.2, 1e-9);
}

TEST_F(ServiceCalls, OpensLocatingUntilTheDriverAnswers) {
  SignInDemo();
  const auto page = FirstPage(0);
  const CarPtr opened = FirstWithStatus(*page, true);
  const CarPtr closed = FirstWithStatus(*page, false);
  ASSERT_TRUE(opened && closed);

  int times = 0;
  EXPECT_EQ(OpenLocate(number(), opened->plate_number, times).code, "206");
  EXPECT_EQ(times, -1);

  TMYResult r = OpenLocate(number(), closed->plate_number, times);
  ASSERT_TRUE(r.success) << r.code << " " << r.message;
  EXPECT_EQ(times, 1);
  EXPECT_EQ(OpenLocate(number(), closed->plate_number, times).code, "213");

  // Past the minute between requests, until the daily limit; the client's clock follows the
  // service's so that its time stamps stay valid.
  auto clientNow = std::chrono::system_clock::now();
  std::string code;
  for (int i = 0; i < 5 && code != "207"; ++i) {
    service.dev("clock", "advance=61");
    clientNow += std::chrono::seconds(61);
    SetClock([clientNow] { return clientNow; });
    r = OpenLocate(number(), closed->plate_number, times);
    code = r.success ? "" : r.code;
    if (r.success) {
      EXPECT_EQ(times, i + 2);
    }
  }
  EXPECT_EQ(code, "207");

  int status = 42;
  ASSERT_TRUE(GetLocateStatus(number(), closed->plate_number, status).success);
  EXPECT_NE(status, 1);
  service.dev("authorise", "plate_number=" + UrlEncode(closed->plate_number));
  ASSERT_TRUE(GetLocateStatus(number(), closed->plate_number, status).success);
  EXPECT_EQ(status, 1);
}

TEST_F(ServiceCalls, AClockElevenMinutesOffIsRefusedWith102) {
  const auto off = std::chrono::system_clock::now() + std::chrono::minutes(11);
  SetClock([off] { return off; });
  const TMYResult r = Verify(VerifyMode::User, DevServiceProcess::kDemoLogin, DevServiceProcess::kDemoPassword);
  EXPECT_FALSE(r.success);
  EXPECT_EQ(r.code, "102");
  const auto nearly = std::chrono::system_clock::now() - std::chrono::minutes(9);
  SetClock([nearly] { return nearly; });
  EXPECT_TRUE(Verify(VerifyMode::User, DevServiceProcess::kDemoLogin, DevServiceProcess::kDemoPassword).success);
}

TEST_F(ServiceCalls, LoadsAFleetOfSeveralPages) {
  DevServiceProcess big({"--seed-fleet", "2100"});
  SetApiBaseUrl(big.baseUrl());
  SignInDemo();
  TCars cars;
  ASSERT_TRUE(GetCarPage(number(), 1, 0, cars).success);
  EXPECT_EQ(cars.cars->size(), 999u);
  LoadMorePages(number(), cars, 0);
  EXPECT_EQ(static_cast<int>(cars.cars->size()), cars.total_results);
  EXPECT_GE(cars.total_results, 2100);
  std::vector<std::string> plates;
  for (const CarPtr& car : *cars.cars) plates.push_back(car->plate_number);
  std::sort(plates.begin(), plates.end());
  EXPECT_EQ(std::adjacent_find(plates.begin(), plates.end()), plates.end()) << "pages do not overlap";
}

}  // namespace
}  // namespace Korvane
