// Listing, adding, editing and deleting vehicles.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ServiceHarness.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

const std::string kContact = devservice::kDemoContactNumber;

class VehicleCalls : public ::testing::Test {
 protected:
  ServiceHarness harness{devservice::ServiceOptions{}, false};
  std::string token;

  void SetUp() override { token = harness.newCompany("fleet", kCompanyContact); }

  static constexpr const char* kCompanyContact = "13900009999";

  Pairs car(const std::string& plate, const std::string& mobile) const {
    return {{"token", token},           {"register_contact_number", kCompanyContact},
            {"plate_number", plate},    {"model_1", "CM1_03"},
            {"model_2", "CM2_01"},      {"length", "9.6"},
            {"tonnage", "18"},          {"driver_name", "王建国"},
            {"locate_number", mobile},  {"expected_flow", "330100,440100"},
            {"driver_gender", "男"},     {"driver_id_number", "330102198001011234"},
            {"model_3", ""},            {"model_4", "CM4_01"},
            {"volume", "45"},           {"width", "2.5"},
            {"height", "2.7"},          {"description", "常跑江浙沪"}};
  }
  static Pairs with(Pairs pairs, const std::string& name, const std::string& value) {
    bool found = false;
    for (auto& pair : pairs) {
      if (pair.first == name) {
        pair.second = value;
        found = true;
      }
    }
    if (!found) pairs.emplace_back(name, value);
    return pairs;
  }
  Json list(const std::string& sortBy, int pageNo = 1, int pageSize = 999) const {
    return harness.call("/car/list", {{"token", token},
                                      {"register_contact_number", kCompanyContact},
                                      {"sort_by", sortBy},
                                      {"page_no", std::to_string(pageNo)},
                                      {"page_size", std::to_string(pageSize)}});
  }
  std::vector<std::string> plates(const Json& answer) const {
    std::vector<std::string> found;
    for (const Json& element : answer["result"]["car_lists"]) found.push_back(element["plate_number"]);
    return found;
  }
  Json plateCall(const std::string& path, const std::string& plate) const {
    return harness.call(path, {{"token", token},
                               {"register_contact_number", kCompanyContact},
                               {"plate_number", plate}});
  }
  void addCars(int count) const {
    for (int i = 0; i < count; ++i) {
      char plate[16];
      std::snprintf(plate, sizeof plate, "A%05d", i);
      char mobile[16];
      std::snprintf(mobile, sizeof mobile, "1390000%04d", i);
      ASSERT_TRUE(Succeeds(harness.call("/car/add", car(std::string("浙") + plate, mobile))));
      harness.service().clock().advance(1);
    }
  }
};

TEST_F(VehicleCalls, ListAnswersThePlainVehicleMembers) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  const Reply reply = harness.get("/car/list", {{"token", token},
                                                {"register_contact_number", kCompanyContact},
                                                {"sort_by", "used_priority"},
                                                {"page_no", "1"},
                                                {"page_size", "999"}});
  ASSERT_EQ(reply.body.rfind("{", 0), 0u) << reply.body;
  const Json answer = Envelope(reply, false);
  ASSERT_TRUE(Succeeds(answer));
  EXPECT_EQ(answer["result"]["total_results"], 1);
  ASSERT_EQ(answer["result"]["car_lists"].size(), 1u);
  const Json& element = answer["result"]["car_lists"][0];
  const std::set<std::string> members = {
      "plate_number", "model_1", "model_2", "length", "tonnage", "location", "located_time",
      "driver_name", "locate_number", "expected_flow", "driver_gender", "driver_id_number",
      "model_3", "model_4", "volume", "width", "height", "description", "locate_status"};
  std::set<std::string> present;
  for (const auto& [name, value] : element.items()) {
    present.insert(name);
    EXPECT_TRUE(value.is_string()) << name;
  }
  EXPECT_EQ(present, members);
  // What was sent comes back; destinations as area names, a new vehicle not located.
  for (const auto& [name, value] : car("浙A12345", "13912345678")) {
    if (members.count(name) != 0 && name != "expected_flow") {
      EXPECT_EQ(element[name], value) << name;
    }
  }
  EXPECT_EQ(element["expected_flow"], "杭州市,广州市");
  EXPECT_EQ(element["location"], "");
  EXPECT_EQ(element["located_time"], "");
  EXPECT_EQ(element["locate_status"], "0");
}

TEST_F(VehicleCalls, ListPagesThroughTheWholeFleet) {
  addCars(7);
  const std::vector<std::pair<int, std::size_t>> pages = {{1, 3}, {2, 3}, {3, 1}, {4, 0}, {100, 0}};
  std::vector<std::string> all;
  for (const auto& [page, size] : pages) {
    const Json answer = list("used_priority", page, 3);
    ASSERT_TRUE(Succeeds(answer)) << page;
    EXPECT_EQ(answer["result"]["total_results"], 7) << page;
    EXPECT_EQ(answer["result"]["car_lists"].size(), size) << page;
    for (const std::string& plate : plates(answer)) all.push_back(plate);
  }
  std::vector<std::string> unique = all;
  std::sort(unique.begin(), unique.end());
  unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
  EXPECT_EQ(unique.size(), 7u);
  EXPECT_EQ(all, plates(list("used_priority", 1, 999)));
}

TEST_F(VehicleCalls, AnEmptyFleetListsNothing) {
  const Json answer = list("seat_priority");
  ASSERT_TRUE(Succeeds(answer));
  EXPECT_EQ(answer["result"]["total_results"], 0);
  EXPECT_TRUE(answer["result"]["car_lists"].is_array());
  EXPECT_TRUE(answer["result"]["car_lists"].empty());
}

TEST_F(VehicleCalls, ListRefusesBadPagingAndOrders) {
  const std::vector<std::tuple<std::string, int, int, std::string>> cases = {
      {"price_priority", 1, 10, "sort_by"},
      {"used_priority", 0, 10, "page_no"},
      {"used_priority", -1, 10, "page_no"},
      {"used_priority", 1, 0, "page_size"},
      {"used_priority", 1, 1001, "page_size"},
  };
  for (const auto& [sortBy, pageNo, pageSize, field] : cases) {
    const Json answer = list(sortBy, pageNo, pageSize);
    ASSERT_TRUE(FailsWith(answer, "300")) << field;
    EXPECT_TRUE(answer["error"]["validates"].contains(field)) << answer.dump();
  }
}

TEST_F(VehicleCalls, UsedOrderPutsTheMostRecentlyUsedFirst) {
  addCars(3);  // 浙A00000 .. 浙A00002, used in that order
  EXPECT_EQ(plates(list("used_priority")),
            (std::vector<std::string>{"浙A00002", "浙A00001", "浙A00000"}));
  // Locating the oldest makes it the most recently used.
  ASSERT_EQ(harness.raw("GET", "/dev/authorise?plate_number=" + std::string("%E6%B5%99A00000")).status, 200);
  harness.service().clock().advance(5);
  ASSERT_TRUE(Succeeds(plateCall("/car/locate", "浙A00000")));
  EXPECT_EQ(plates(list("used_priority")).front(), "浙A00000");
}

TEST(VehicleOrders, LocationAndSeatOrdersPutTheirCityFirst) {
  ServiceHarness harness;
  const std::string token = harness.demoToken();
  auto first = [&](const std::string& sortBy) {
    const Json answer = harness.call("/car/list", {{"token", token},
                                                   {"register_contact_number", kContact},
                                                   {"sort_by", sortBy},
                                                   {"page_no", "1"},
                                                   {"page_size", "999"}});
    EXPECT_TRUE(Succeeds(answer));
    return answer["result"]["car_lists"];
  };
  const std::vector<std::pair<std::string, std::string>> orders = {
      {"location_priority", "宁波市"}, {"seat_priority", "杭州市"}};
  for (const auto& [sortBy, city] : orders) {
    const Json cars = first(sortBy);
    ASSERT_EQ(cars.size(), static_cast<std::size_t>(devservice::kDemoVehicleCount));
    // All vehicles in the city come before all others, and there are some of each.
    std::size_t inCity = 0;
    while (inCity < cars.size() &&
           cars[inCity]["location"].get<std::string>().find(city) != std::string::npos) {
      ++inCity;
    }
    EXPECT_GE(inCity, 1u) << sortBy;
    EXPECT_LT(inCity, cars.size()) << sortBy;
    for (std::size_t i = inCity; i < cars.size(); ++i) {
      EXPECT_EQ(cars[i]["location"].get<std::string>().find(city), std::string::npos)
          << sortBy << " " << i;
    }
  }
  EXPECT_NE(first("location_priority")[0]["plate_number"], first("seat_priority")[0]["plate_number"]);
}

TEST(VehicleOrders, SmallPagesJoinUpToTheWholeListInEveryOrder) {
  ServiceHarness harness;
  const std::string token = harness.demoToken();
  auto page = [&](const std::string& sortBy, int pageNo, int pageSize) {
    const Json answer = harness.call("/car/list", {{"token", token},
                                                   {"register_contact_number", kContact},
                                                   {"sort_by", sortBy},
                                                   {"page_no", std::to_string(pageNo)},
                                                   {"page_size", std::to_string(pageSize)}});
    std::vector<std::string> plates;
    for (const Json& car : answer["result"]["car_lists"]) plates.push_back(car["plate_number"]);
    return plates;
  };
  for (const std::string sortBy : {"used_priority", "location_priority", "seat_priority"}) {
    const std::vector<std::string> whole = page(sortBy, 1, 999);
    ASSERT_EQ(whole.size(), static_cast<std::size_t>(devservice::kDemoVehicleCount));
    for (const int size : {1, 3, 4, 7}) {
      std::vector<std::string> joined;
      for (int number = 1; joined.size() < whole.size() && number <= 40; ++number) {
        const std::vector<std::string> part = page(sortBy, number, size);
        joined.insert(joined.end(), part.begin(), part.end());
      }
      EXPECT_EQ(joined, whole) << sortBy << " in pages of " << size;
    }
  }
}

TEST_F(VehicleCalls, AddRefusesDuplicatesAndBadFields) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  const Pairs good = car("浙B12345", "13912340000");
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"plate_number", "浙A12345", "车牌号码已经注册"},
      {"plate_number", "", "车牌号码不能为空"},
      {"plate_number", "浙A1234", "车牌号码格式不正确"},
      {"plate_number", "浙112345", "车牌号码格式不正确"},
      {"plate_number", "黔A12345", "车牌号码格式不正确"},
      {"plate_number", "浙A123456", "车牌号码格式不正确"},
      {"locate_number", "13912345678", "随车手机已经添加"},
      {"locate_number", "", "随车手机不能为空"},
      {"locate_number", "15412345678", "手机号码无效"},
      {"locate_number", "1391234567", "手机号码无效"},
      {"driver_name", "王<建国>", "随车司机不能包含特殊字符"},
      {"driver_gender", "M", "司机性别只能是男或女"},
      {"model_1", "CM2_01", "车型代码无效: CM2_01"},
      {"model_4", "CM4_28", "车型代码无效: CM4_28"},
      {"length", "9.", "车长数据无效"},
      {"tonnage", "abc", "吨位数据无效"},
      {"width", ".5", "车宽数据无效"},
      {"height", " 2.5", "车高数据无效"},
      {"volume", "1,5", "容积数据无效"},
      {"expected_flow", "330100,999999", "期望流向包含未知的地区代码: 999999"},
      {"description", "50% 定金", "备注不能包含特殊字符"},
  };
  for (const auto& [field, value, message] : cases) {
    const Json answer = harness.call("/car/add", with(good, field, value));
    ASSERT_TRUE(FailsWith(answer, "300")) << field << "=" << value;
    ASSERT_TRUE(answer["error"]["validates"].contains(field)) << answer.dump();
    EXPECT_EQ(answer["error"]["validates"][field][0], message) << field << "=" << value;
  }
  EXPECT_EQ(list("used_priority")["result"]["total_results"], 1);
  EXPECT_TRUE(Succeeds(harness.call("/car/add", good)));
}

TEST_F(VehicleCalls, AddNeedsOnlyMobileAndPlate) {
  const Json answer = harness.call("/car/add", {{"token", token},
                                                {"register_contact_number", kCompanyContact},
                                                {"plate_number", "京Q8R8S8"},
                                                {"locate_number", "17051234567"}});
  ASSERT_TRUE(Succeeds(answer));
  const Json listed = list("used_priority");
  EXPECT_EQ(listed["result"]["car_lists"][0]["plate_number"], "京Q8R8S8");
  EXPECT_EQ(listed["result"]["car_lists"][0]["model_1"], "");
}

TEST_F(VehicleCalls, EditReplacesTheDataAndKeepsThePosition) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  ASSERT_EQ(harness.raw("GET", "/dev/authorise?plate_number=%E6%B5%99A12345").status, 200);
  const Json located = plateCall("/car/locate", "浙A12345");
  ASSERT_TRUE(Succeeds(located));
  Pairs changed = with(car("浙A12345", "13912345678"), "driver_name", "李强");
  changed = with(changed, "expected_flow", "310000");
  changed = with(changed, "description", "");
  ASSERT_TRUE(Succeeds(harness.call("/car/edit", changed)));
  const Json element = list("used_priority")["result"]["car_lists"][0];
  EXPECT_EQ(element["driver_name"], "李强");
  EXPECT_EQ(element["expected_flow"], "上海市");
  EXPECT_EQ(element["description"], "");
  EXPECT_EQ(element["location"], located["result"]["location"]);
  EXPECT_EQ(element["locate_status"], "1");
}

TEST_F(VehicleCalls, ANewMobileClosesLocatingUntilItsDriverAuthorises) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  ASSERT_EQ(harness.raw("GET", "/dev/authorise?plate_number=%E6%B5%99A12345").status, 200);
  ASSERT_TRUE(Succeeds(harness.call("/car/edit", car("浙A12345", "13912345679"))));
  const Json status = plateCall("/car/get_locate_status", "浙A12345");
  ASSERT_TRUE(Succeeds(status));
  EXPECT_EQ(status["result"]["locate_status"], 0);
}

TEST_F(VehicleCalls, EditRefusals) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A22222", "13922222222"))));
  EXPECT_TRUE(FailsWith(harness.call("/car/edit", car("浙A99999", "13999999999")), "201"));
  const Json taken = harness.call("/car/edit", car("浙A12345", "13922222222"));
  ASSERT_TRUE(FailsWith(taken, "300"));
  EXPECT_EQ(taken["error"]["validates"]["locate_number"][0], "随车手机已经添加");
  const Json bad = harness.call("/car/edit", with(car("浙A12345", "13912345678"), "width", "wide"));
  ASSERT_TRUE(FailsWith(bad, "300"));
  EXPECT_TRUE(bad["error"]["validates"].contains("width"));
  // Keeping its own mobile is no conflict.
  EXPECT_TRUE(Succeeds(harness.call("/car/edit", car("浙A12345", "13912345678"))));
}

TEST_F(VehicleCalls, DeleteRemovesTheVehicleOnce) {
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
  ASSERT_TRUE(Succeeds(harness.call("/car/add", car("浙A22222", "13922222222"))));
  const Reply reply = harness.get("/car/delete", {{"token", token},
                                                  {"register_contact_number", kCompanyContact},
                                                  {"plate_number", "浙A12345"}});
  EXPECT_EQ(reply.body.rfind("%7B", 0), 0u) << reply.body;
  EXPECT_TRUE(Succeeds(Envelope(reply, true)));
  EXPECT_TRUE(FailsWith(plateCall("/car/delete", "浙A12345"), "201"));
  EXPECT_EQ(plates(list("used_priority")), (std::vector<std::string>{"浙A22222"}));
  // The plate and the mobile are free again.
  EXPECT_TRUE(Succeeds(harness.call("/car/add", car("浙A12345", "13912345678"))));
}

TEST_F(VehicleCalls, CallsWithoutTheirKeyParametersAreRefused) {
  const std::vector<std::pair<std::string, Pairs>> cases = {
      {"/car/delete", {{"token", token}, {"register_contact_number", kCompanyContact}}},
      {"/car/locate", {{"token", token}, {"register_contact_number", kCompanyContact}}},
      {"/car/list", {{"token", token}}},
      {"/car/open_locate", {{"register_contact_number", kCompanyContact}, {"plate_number", "浙A12345"}}},
  };
  for (const auto& [path, pairs] : cases) {
    EXPECT_TRUE(FailsWith(harness.call(path, pairs), "110")) << path;
  }
}

}  // namespace
}  // namespace devtest
