// How the typed calls read the service's answers, against a scripted loopback server.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "Korvane/AccountCalls.h"
#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Deployment.h"
#include "Korvane/VehicleCalls.h"
#include "support/LogFile.h"
#include "support/LoopbackServer.h"

namespace Korvane {
namespace {

using testsupport::CapturedRequest;
using testsupport::LoopbackServer;
using testsupport::Reply;

std::string ParameterText(const CapturedRequest& request) {
  const std::size_t p = request.target.find("parameters=") + 11;
  return Base64Decode(request.target.substr(p, request.target.find('&', p) - p));
}

std::string CarJson(const std::string& plate, const std::string& extra = "") {
  return R"({"plate_number":")" + plate +
         R"(","model_1":"1","model_2":"2","length":9.6,"tonnage":30,"location":"浙江省,杭州市","located_time":"2026-12-01 08:00:00","driver_name":"张三","locate_number":"13812345678","expected_flow":"","driver_gender":"男","driver_id_number":null,"model_3":"","model_4":"","volume":"","width":"","height":"","description":"","locate_status":1)" +
         extra + "}";
}

std::string ListJson(int total, const std::vector<std::string>& cars, bool withList = true) {
  std::string json = R"({"success":true,"result":{"total_results":)" + std::to_string(total);
  if (withList) {
    json += R"(,"car_lists":[)";
    for (std::size_t i = 0; i < cars.size(); ++i) json += (i ? "," : "") + cars[i];
    json += "]";
  }
  return json + "}}";
}

class Answers : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApiBaseUrl(server.baseUrl());
    SetPortalBaseUrl("http://portal.example.test");
    auto company = std::make_shared<TCompany>();
    company->token = "tok";
    company->account_balance = 10.0;
    SetCompany(company);
  }
  void TearDown() override {
    SetCompany(nullptr);
    SetCurrentCars(nullptr);
    SetClock({});
    SetApiBaseUrl(kDefaultServiceUrl);
    SetPortalBaseUrl(kDefaultServiceUrl);
  }
  // Answers by page number for /car/list, or the fixed body for everything else.
  std::function<std::string(int page)> listPage;
  std::string body = R"({"success":true,"result":{}})";
  LoopbackServer server{[this](const CapturedRequest& request) {
    if (request.target.rfind("/car/list", 0) == 0 && listPage) {
      const std::string text = ParameterText(request);
      const int page = std::stoi(text.substr(text.find("page_no=") + 8));
      return Reply::Json(listPage(page));
    }
    return Reply::Json(body);
  }};
  testsupport::ScopedLogFolder log;
};

// ---- Verify -------------------------------------------------------------------------------

std::string VerifyJson(const std::string& deadline) {
  return R"({"success":true,"result":{"company_name":"杭州货运","account_balance":12.5,"rebate":300,"register_contact_number":"13800000000","token":"T1","is_partner":0,"partner_name":"经销商","partner_contact_number":"0571-1","partner_address":"杭州","partner_contact_person":"李四","partner_identification":"品牌","current_city":"杭州市","seat_city":"宁波市","membership_use_deadline":")" +
         deadline + R"("}})";
}

TEST_F(Answers, VerifyFillsTheSessionAndJudgesTheMembershipByTheLocalClock) {
  const auto now = platform::FromLocalTime({2026, 12, 11, 10, 0, 0, 0});
  SetClock([now] { return now; });
  struct Case {
    const char* deadline;
    bool success;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"9999-12-31 23:59:59", true, true}, {"2026-12-11 10:00:00", true, true},
      {"2026-12-11 09:59:59", true, false}, {"2026-12-11", true, false},
      {"2026-12-12", true, true},          {"", true, false},
      {"not a date", false, false},         {"2026-02-30 00:00:00", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deadline);
    SetCompany(nullptr);
    body = VerifyJson(c.deadline);
    const TMYResult r = Verify(VerifyMode::User, "demo", "secret");
    EXPECT_EQ(r.success, c.success);
    if (!c.success) {
      EXPECT_EQ(r.code, "000");
      EXPECT_EQ(r.message, "网络连接失败");
    }
    const auto company = Company();
    ASSERT_TRUE(company) << "the record stays even when the deadline cannot be read";
    EXPECT_EQ(company->membership_valid, c.valid);
    EXPECT_EQ(company->membership_use_deadline, c.deadline);
    EXPECT_EQ(company->token, "T1");
    EXPECT_EQ(company->login_name, "demo");
    EXPECT_EQ(company->password, "secret");
    EXPECT_DOUBLE_EQ(company->account_balance, 12.5);
    EXPECT_EQ(company->rebate, 300);
    EXPECT_EQ(company->seat_city, "宁波市");
    EXPECT_FALSE(company->is_partner);
  }
}

TEST_F(Answers, VerifyRefusalsAndBadAnswersLeaveOrReplaceTheSessionAsRead) {
  const auto before = Company();
  body = R"({"success":false,"error":{"code":"622","message":"帐号未激活","validates":{"x":["y"]}}})";
  TMYResult r = Verify(VerifyMode::User, "demo", "pw");
  EXPECT_EQ(r.code, "622");
  EXPECT_EQ(r.message, "帐号未激活");
  EXPECT_EQ(r.detail, "") << "a call reading its own envelope reads no validates";
  EXPECT_EQ(Company(), before);

  body = R"({"success":true})";  // no result object: nothing is created
  EXPECT_EQ(Verify(VerifyMode::User, "demo", "pw").code, "000");
  EXPECT_EQ(Company(), before);

  // A member of the wrong type half way: the partly filled record becomes the session.
  body = R"({"success":true,"result":{"company_name":"C","account_balance":1,"rebate":2,"register_contact_number":"N","token":"T2","is_partner":"yes"}})";
  EXPECT_EQ(Verify(VerifyMode::Access, "x", "y").code, "000");
  ASSERT_NE(Company(), before);
  EXPECT_EQ(Company()->token, "T2");
  EXPECT_EQ(Company()->login_name, "") << "access mode keeps no name";
  EXPECT_EQ(Company()->partner_name, "");

  body = R"({"success":true,"result":{"is_partner":2,"token":"T3"}})";
  EXPECT_TRUE(Verify(VerifyMode::User, "a", "b").success);
  EXPECT_TRUE(Company()->is_partner);
  EXPECT_EQ(log.errorTexts().size(), 2u);
  EXPECT_EQ(log.errorTexts()[0].rfind("登录异常 - EBadAnswer error raised, with message : ", 0), 0u);
}

// ---- Portal addresses -----------------------------------------------------------------------

TEST_F(Answers, PortalUrlForms) {
  const std::string base = "http://portal.example.test/user/login_by_api?token=tok";
  EXPECT_EQ(PortalUrl("", ""), base);
  EXPECT_EQ(PortalUrl("contact_us", ""), base + "&url_for=contact_us");
  EXPECT_EQ(PortalUrl("cars_orbit_view", "京A 12345"),
            base + "&url_for=cars_orbit_view&client_for_windows=1&plate_number=%E4%BA%ACA+12345");
  EXPECT_EQ(PortalUrl("services_verify", "浙B&1=2"),
            base + "&url_for=services_verify&client_for_windows=1&plate_number=%E6%B5%99B%261%3D2");
}

// ---- Vehicle list ---------------------------------------------------------------------------

TEST_F(Answers, AFirstPageIsReadWithEveryValueAsText) {
  listPage = [](int) { return ListJson(2, {CarJson("京A00001"), CarJson("京A00002", R"(,"extra":{"x":1})")}); };
  TCars page;
  const TMYResult r = GetCarPage("13800000000", 1, 0, page);
  ASSERT_TRUE(r.success) << r.code;
  EXPECT_EQ(page.total_results, 2);
  ASSERT_TRUE(page.cars);
  ASSERT_EQ(page.cars->size(), 2u);
  const TCar& car = *page.cars->front();
  EXPECT_EQ(car.plate_number, "京A00001");
  EXPECT_EQ(car.length, "9.6");
  EXPECT_EQ(car.tonnage, "30");
  EXPECT_EQ(car.locate_status, "1");
  EXPECT_EQ(car.driver_id_number, "");
  EXPECT_EQ(car.location, "浙江省,杭州市");
  EXPECT_EQ(car.register_contact_number, "") << "not read from the list";
}

TEST_F(Answers, ListEdgeCases) {
  struct Case {
    const char* name;
    std::string json;
    bool success;
    std::string code;
    bool hasList;
    int total;
  };
  const std::string missingMember =
      R"({"plate_number":"京A1","model_1":"1"})";
  const std::vector<Case> cases = {
      {"no vehicles", R"({"success":true,"result":{"total_results":0}})", true, "", false, 0},
      {"no vehicles, empty array", ListJson(0, {}), true, "", false, 0},
      {"an element lacks a member", ListJson(2, {CarJson("京A1"), missingMember}), false, "000", false, 2},
      {"a percent in a vehicle's text", ListJson(1, {CarJson("京A1", R"(,"x":"50%")")}), true, "", true, 1},
      {"a refusal", R"({"success":false,"error":{"code":"102","message":"时间错误","validates":{"ts":["off"]}}})",
       false, "102", false, 0},
      {"a list that is no array", R"({"success":true,"result":{"total_results":3,"car_lists":{}}})", false, "000", false, 3},
      {"not JSON", "<html>", false, "000", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    listPage = [&](int) { return c.json; };
    TCars page;
    page.total_results = 77;
    const TMYResult r = GetCarPage("n", 1, 0, page);
    EXPECT_EQ(r.success, c.success);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(page.cars.has_value(), c.hasList);
    EXPECT_EQ(page.total_results, c.total);
  }
}

TEST_F(Answers, LoadMorePagesStopsAtTheFirstPageWithoutAList) {
  std::mutex askedLock;
  std::vector<int> asked;
  listPage = [&](int page) {
    std::lock_guard guard(askedLock);
    asked.push_back(page);
    if (page == 1) return ListJson(1998, {CarJson("P1")});
    if (page == 2) return ListJson(1998, {CarJson("P2a"), CarJson("P2b")});
    return ListJson(1998, {}, false);  // page 3 answered without a list
  };
  TCars cars;
  ASSERT_TRUE(GetCarPage("n", 1, 2, cars).success);
  LoadMorePages("n", cars, 2);
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(cars.cars->size(), 3u);
  EXPECT_EQ(cars.cars->at(2)->plate_number, "P2b");
  EXPECT_EQ(cars.total_results, 1998);
}

TEST_F(Answers, LoadMorePagesAsksForTheLastPageByIntegerDivision) {
  // The last page asked for holds no list when the total is a multiple of 999: the service's
  // total says it is past the end.
  struct Case {
    int total;
    std::vector<int> pages;
    std::size_t appended;
  };
  // Pages may be requested two at a time, so the requests are compared as a set; the
  // vehicles must still arrive in page order.
  for (const Case& c : std::vector<Case>{{0, {}, 0}, {998, {}, 0}, {999, {2}, 0}, {1000, {2}, 1},
                                         {1998, {2, 3}, 1}, {2997, {2, 3, 4}, 2}, {9000, {2, 3, 4, 5, 6, 7, 8, 9, 10}, 9}}) {
    std::mutex lock;
    std::vector<int> asked;
    listPage = [&](int page) {
      {
        std::lock_guard guard(lock);
        asked.push_back(page);
      }
      return ListJson(c.total, {CarJson("P" + std::to_string(page))});
    };
    TCars cars;
    cars.total_results = c.total;
    LoadMorePages("n", cars, 0);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, c.pages) << c.total;
    ASSERT_EQ(cars.cars ? cars.cars->size() : 0u, c.appended) << c.total;
    for (std::size_t i = 0; i < c.appended; ++i) {
      EXPECT_EQ(cars.cars->at(i)->plate_number, "P" + std::to_string(i + 2)) << c.total;
    }
  }
}

TEST_F(Answers, LoadMorePagesKeepsWhatArrivedBeforeAFailureAndHonoursStop) {
  listPage = [](int page) { return page == 2 ? ListJson(5000, {CarJson("P2")}) : std::string("<html>"); };
  TCars cars;
  cars.total_results = 5000;
  cars.cars.emplace();
  LoadMorePages("n", cars, 0);
  ASSERT_EQ(cars.cars->size(), 1u);
  EXPECT_EQ(cars.cars->front()->plate_number, "P2");

  std::atomic<bool> stop{true};
  TCars stopped;
  stopped.total_results = 5000;
  LoadMorePages("n", stopped, 0, &stop);
  EXPECT_FALSE(stopped.cars);
}

// ---- Locating -------------------------------------------------------------------------------

TEST_F(Answers, LocateUpdatesTheListedVehicleWithTheClientTimeAndTheBalance) {
  auto fleet = std::make_shared<TCars>();
  auto listed = std::make_shared<TCar>();
  listed->plate_number = "京A1";
  listed->located_time = "2020-01-01 00:00:00";
  fleet->cars = CarList{listed};
  fleet->total_results = 1;
  SetCurrentCars(fleet);
  const auto now = platform::FromLocalTime({2026, 12, 11, 9, 8, 7, 0});
  SetClock([now] { return now; });

  body = R"({"success":true,"result":{"location":"浙江省,杭州市,西湖区","account_balance":9.8}})";
  TMYResult r = LocateCar("n", "京A1");
  EXPECT_TRUE(r.success);
  EXPECT_EQ(r.detail, "浙江省,杭州市,西湖区");
  EXPECT_EQ(listed->location, "浙江省,杭州市,西湖区");
  EXPECT_EQ(listed->located_time, "2026-12-11 09:08:07");
  EXPECT_DOUBLE_EQ(Company()->account_balance, 9.8);

  body = R"({"success":true,"result":{"location":"上海市,上海市","account_balance":9.6}})";
  r = LocateCar("n", "not listed");
  EXPECT_EQ(r.detail, "上海市,上海市");
  EXPECT_DOUBLE_EQ(Company()->account_balance, 9.8) << "an unlisted vehicle leaves the balance";

  body = R"({"success":false,"error":{"code":"604","message":"未开通定位","validates":{"a":["b"]}}})";
  r = LocateCar("n", "京A1");
  EXPECT_EQ(r.code, "604");
  EXPECT_EQ(r.detail, "");
  EXPECT_EQ(listed->location, "浙江省,杭州市,西湖区");
}

TEST_F(Answers, OpenLocateAndStatusWriteTheirCountOnlyOnceAnAnswerArrived) {
  int times = 42;
  body = UrlEncode(R"({"success":true,"result":{"request_times":2}})");
  EXPECT_TRUE(OpenLocate("n", "P", times).success);
  EXPECT_EQ(times, 2);

  body = UrlEncode(R"({"success":false,"error":{"code":"213","message":"请勿重复"}})");
  EXPECT_EQ(OpenLocate("n", "P", times).code, "213");
  EXPECT_EQ(times, -1);

  int status = 42;
  body = UrlEncode(R"({"success":true,"result":{"locate_status":1}})");
  EXPECT_TRUE(GetLocateStatus("n", "P", status).success);
  EXPECT_EQ(status, 1);

  SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
  times = 42;
  EXPECT_EQ(OpenLocate("n", "P", times).code, "000");
  EXPECT_EQ(times, 42);
  EXPECT_EQ(log.errorTexts().back().rfind("开通车辆定位异常 - ESocketError", 0), 0u);
}

// ---- Fleet list -----------------------------------------------------------------------------

CarPtr Car(const std::string& plate, const std::string& number, const std::string& status = "0") {
  auto car = std::make_shared<TCar>();
  car->plate_number = plate;
  car->locate_number = number;
  car->locate_status = status;
  return car;
}

TEST_F(Answers, FleetListOperations) {
  EXPECT_FALSE(FindCar("A"));
  EXPECT_FALSE(RemoveCar("A"));
  EXPECT_FALSE(IsTaken(3, "", "1"));
  EXPECT_EQ(CountOpened(nullptr), 0);

  InsertCar(Car("A", "111", "1"));  // no list loaded yet: one is created
  ASSERT_TRUE(CurrentCars());
  EXPECT_EQ(CurrentCars()->total_results, 1);
  InsertCar(Car("B", "222"));
  EXPECT_EQ(CurrentCars()->cars->front()->plate_number, "B");
  EXPECT_EQ(CurrentCars()->total_results, 2);

  struct TakenCase {
    int mode;
    const char* own;
    const char* value;
    bool taken;
  };
  for (const TakenCase& c : std::vector<TakenCase>{{1, "A", "A", false}, {1, "B", "A", true}, {1, "", "C", false},
                                                    {2, "A", "111", false}, {2, "B", "111", true},
                                                    {3, "A", "111", true}, {3, "", "333", false},
                                                    {4, "B", "A", false}, {0, "B", "111", false}}) {
    EXPECT_EQ(IsTaken(c.mode, c.own, c.value), c.taken) << c.mode << " " << c.own << " " << c.value;
  }

  const CarPtr replacement = Car("A2", "444", "1");
  ReplaceCar("A", replacement);
  EXPECT_EQ(FindCar("A2"), replacement);
  EXPECT_FALSE(FindCar("A"));
  ReplaceCar("A2", replacement);  // a record in its own place stays
  EXPECT_EQ(FindCar("A2"), replacement);
  ReplaceCar("nobody", Car("X", "0"));
  EXPECT_FALSE(FindCar("X"));
  EXPECT_EQ(CurrentCars()->total_results, 2);
  EXPECT_EQ(CountOpened(CurrentCars().get()), 1);

  EXPECT_FALSE(RemoveCar("unknown"));
  EXPECT_EQ(CurrentCars()->total_results, 2);
  EXPECT_TRUE(RemoveCar("B"));
  EXPECT_EQ(CurrentCars()->total_results, 1);
  EXPECT_EQ(CurrentCars()->cars->size(), 1u);
}

}  // namespace
}  // namespace Korvane
