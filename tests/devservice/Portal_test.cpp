// The portal pages the client opens and the update files it fetches.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "Korvane/Codec.h"
#include "ServiceHarness.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

namespace fs = std::filesystem;

const std::string kContact = devservice::kDemoContactNumber;

class Portal : public ::testing::Test {
 protected:
  void SetUp() override { token = harness.demoToken(); }
  Reply page(const std::string& query) const {
    return harness.raw("GET", "/user/login_by_api?token=" + token + query);
  }
  static std::string title(const std::string& html) {
    const std::size_t start = html.find("<h1>");
    const std::size_t end = html.find("</h1>");
    if (start == std::string::npos || end == std::string::npos) return std::string();
    return html.substr(start + 4, end - start - 4);
  }
  Json cars() const {
    return harness.call("/car/list", {{"token", token},
                                      {"register_contact_number", kContact},
                                      {"sort_by", "used_priority"},
                                      {"page_no", "1"},
                                      {"page_size", "999"}})["result"]["car_lists"];
  }

  ServiceHarness harness;
  std::string token;
};

TEST_F(Portal, EveryPageNameOfTheClientHasAChinesePage) {
  const std::vector<std::pair<std::string, std::string>> pages = {
      {"user_info_edit", "修改信息"},        {"password_change", "修改密码"},
      {"account_consume_logs", "消费记录"},  {"account_pay", "账户充值"},
      {"account_buy_packages", "购买套餐"},  {"account_rebates", "积分兑换"},
      {"cars_filter", "找车运货"},           {"cars_filter_public", "网上车库"},
      {"new_insurance", "货运保险"},         {"portal_activity", "优惠活动"},
      {"contact_us", "联系客服"},            {"cars_orbit_view", "车辆历史轨迹"},
      {"services_verify", "司机证件核查"}};
  for (const auto& [name, expected] : pages) {
    const Reply reply = page("&url_for=" + name);
    EXPECT_EQ(reply.status, 200) << name;
    EXPECT_EQ(reply.content_type, "text/html; charset=utf-8") << name;
    EXPECT_EQ(title(reply.body), expected) << name;
  }
  const Reply home = page("");
  EXPECT_EQ(home.status, 200);
  EXPECT_NE(home.body.find(devservice::kDemoCompanyName), std::string::npos);
  EXPECT_EQ(page("&url_for=no_such_page").status, 404);
}

TEST_F(Portal, TheSignInAddressNeedsACompanyToken) {
  EXPECT_EQ(harness.raw("GET", "/user/login_by_api?token=nothing&url_for=contact_us").status, 403);
  const Json access = harness.call("/user/verify", {{"verify_for", "access"}});
  const std::string accessToken = access["result"]["token"];
  EXPECT_EQ(harness.raw("GET", "/user/login_by_api?token=" + accessToken).status, 403);
}

TEST_F(Portal, TheHistoryTrackShowsTheRecordedPositionsInOrder) {
  std::string plate;
  for (const Json& car : cars()) {
    if (car["locate_status"] == "1") plate = car["plate_number"];
  }
  ASSERT_FALSE(plate.empty());
  std::vector<std::string> locations;
  for (int i = 0; i < 3; ++i) {
    harness.service().clock().advance(7200);
    const Json located = harness.call("/car/locate", {{"token", token},
                                                      {"register_contact_number", kContact},
                                                      {"plate_number", plate}});
    ASSERT_TRUE(Succeeds(located));
    locations.push_back(located["result"]["location"]);
  }
  const Reply reply = page("&url_for=cars_orbit_view&client_for_windows=1&plate_number=" +
                           Korvane::UrlEncode(plate));
  ASSERT_EQ(reply.status, 200);
  EXPECT_NE(reply.body.find(plate), std::string::npos);
  // The three new points close the table, each with its time.
  const std::vector<std::string> times = {"2024-05-14 12:00:00", "2024-05-14 14:00:00",
                                          "2024-05-14 16:00:00"};
  std::size_t at = reply.body.find("<table class=\"track\">");
  ASSERT_NE(at, std::string::npos);
  for (std::size_t i = 0; i < 3; ++i) {
    at = reply.body.find(times[i], at);
    ASSERT_NE(at, std::string::npos) << times[i];
    at = reply.body.find(locations[i], at);
    ASSERT_NE(at, std::string::npos) << locations[i];
  }
  EXPECT_EQ(reply.body.find("<tr>", at), std::string::npos) << "no row after the newest point";
}

TEST_F(Portal, VehiclePagesEscapeWhatTheyEcho) {
  const Reply reply = page("&url_for=cars_orbit_view&plate_number=%3Cscript%3Ex");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body.find("<script>"), std::string::npos);
  EXPECT_NE(reply.body.find("&lt;script&gt;x"), std::string::npos);
}

TEST_F(Portal, TheDocumentCheckShowsTheDriver) {
  const Json car = cars()[0];
  const Reply reply = page("&url_for=services_verify&client_for_windows=1&plate_number=" +
                           Korvane::UrlEncode(car["plate_number"].get<std::string>()));
  ASSERT_EQ(reply.status, 200);
  EXPECT_NE(reply.body.find(car["driver_name"].get<std::string>()), std::string::npos);
}

TEST_F(Portal, PasswordResetAndActivationPages) {
  const Reply reset = harness.raw("GET", "/password/reset/step1");
  EXPECT_EQ(reset.status, 200);
  EXPECT_EQ(title(reset.body), "找回密码");
  const Reply activation = harness.raw("GET", "/v2/");
  EXPECT_EQ(activation.status, 200);
  EXPECT_NE(activation.body.find("id=\"login\""), std::string::npos);
}

TEST_F(Portal, TheActivationFormActivatesWithTheRightPassword) {
  const Json access = harness.call("/user/verify", {{"verify_for", "access"}});
  const std::string accessToken = access["result"]["token"];
  ASSERT_TRUE(Succeeds(harness.call("/user/captcha", {{"token", accessToken},
                                                      {"register_contact_number", "13322223333"}})));
  const Json code = Envelope(harness.raw("GET", "/dev/captcha?contact_number=13322223333"), false);
  ASSERT_TRUE(Succeeds(harness.call("/user/register", {{"token", accessToken},
                                                       {"username", "web_user"},
                                                       {"password", "secret99"},
                                                       {"company", "网页物流"},
                                                       {"contact_number", "13322223333"},
                                                       {"captcha", code["result"]["captcha"]},
                                                       {"seat", "110000"}})));
  EXPECT_EQ(harness.raw("POST", "/v2/activate", "login_name=web_user&password=wrong").status, 403);
  EXPECT_EQ(harness.raw("POST", "/v2/activate", "login_name=web_user&password=secret99").status, 200);
  const Json signedIn = harness.call("/user/verify", {{"verify_for", "user"},
                                                      {"login_name", "web_user"},
                                                      {"password", "secret99"}});
  ASSERT_TRUE(Succeeds(signedIn));
  EXPECT_EQ(signedIn["result"]["seat_city"], "北京市");
}

class UpdateFiles : public ::testing::Test {
 protected:
  UpdateFiles() {
    std::random_device random;
    folder = fs::temp_directory_path() / ("devservice-update-" + std::to_string(random()));
    fs::create_directories(folder / "update");
    fs::create_directories(folder / "secret");
    for (int i = 0; i < 256 * 40; ++i) executable += static_cast<char>(i % 251);
    std::ofstream(folder / "update" / "vandrel.exe", std::ios::binary) << executable;
    std::ofstream(folder / "update" / "vandrel.inf") << "[Vandrel]\nversion=5.2.1.13\n";
    std::ofstream(folder / "secret" / "key.txt") << "private";
    devservice::ServiceOptions options;
    options.update_dir = (folder / "update").string();
    harness = std::make_unique<ServiceHarness>(options, false);
  }
  ~UpdateFiles() override {
    harness.reset();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  fs::path folder;
  std::string executable;
  std::unique_ptr<ServiceHarness> harness;
};

TEST_F(UpdateFiles, ServesTheFolderUnderClientUpdate) {
  const Reply exe = harness->raw("GET", "/client/update/vandrel.exe");
  EXPECT_EQ(exe.status, 200);
  EXPECT_EQ(exe.body, executable);
  const Reply inf = harness->raw("GET", "/client/update/vandrel.inf");
  EXPECT_EQ(inf.status, 200);
  EXPECT_EQ(inf.body, "[Vandrel]\nversion=5.2.1.13\n");
  EXPECT_EQ(harness->raw("GET", "/client/update/missing.exe").status, 404);
  const Reply outside = harness->raw("GET", "/client/update/../secret/key.txt");
  EXPECT_NE(outside.status, 200);
  EXPECT_EQ(outside.body.find("private"), std::string::npos);
}

TEST(UpdateFilesAbsent, WithoutAFolderNothingIsServed) {
  ServiceHarness harness(devservice::ServiceOptions{}, false);
  const Reply reply = harness.raw("GET", "/client/update/vandrel.inf");
  EXPECT_EQ(reply.status, 404);
  EXPECT_TRUE(FailsWith(Envelope(reply, false), "113"));
}

}  // namespace
}  // namespace devtest
