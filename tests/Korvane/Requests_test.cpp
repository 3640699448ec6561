// Each typed call's request as a capturing loopback server received it.
#include <gtest/gtest.h>

#include <functional>

#include "Korvane/AccountCalls.h"
#include "Korvane/Codec.h"
#include "Korvane/Deployment.h"
#include "Korvane/VehicleCalls.h"
#include "support/LogFile.h"
#include "support/LoopbackServer.h"

namespace Korvane {
namespace {

using testsupport::CapturedRequest;
using testsupport::LoopbackServer;
using testsupport::Reply;

std::string FieldOf(const std::string& fields, const std::string& name) {
  const std::size_t at = fields.find(name + "=");
  if (at == std::string::npos) return "<missing " + name + ">";
  const std::size_t start = at + name.size() + 1;
  return fields.substr(start, fields.find('&', start) - start);
}

// The parameter text without its leading "ts=...&", as the service decodes it.
std::string ParameterText(const CapturedRequest& request) {
  const bool post = request.method == "POST";
  const std::string fields = post ? request.body : request.target.substr(request.target.find('?') + 1);
  const std::string parameters = post ? UrlDecode(FieldOf(fields, "parameters")) : FieldOf(fields, "parameters");
  const std::string text = Base64Decode(parameters);
  return text.substr(text.find('&') + 1);
}

std::string PathOf(const CapturedRequest& request) { return request.target.substr(0, request.target.find('?')); }

TCar SampleCar() {
  TCar car;
  car.register_contact_number = "13800000000";
  car.locate_number = "13912345678";
  car.plate_number = "京A12345";
  car.driver_name = " 王 五 ";
  car.expected_flow = "浙江省,杭州市";
  car.driver_gender = "男";
  car.driver_id_number = "1101&x=1%";
  car.model_1 = "1";
  car.model_2 = "2";
  car.model_3 = "3";
  car.model_4 = "4";
  car.length = "9.6";
  car.tonnage = "30";
  car.volume = "";
  car.width = "2.4";
  car.height = "2.7";
  car.description = "a+b";
  car.location = "never sent";
  car.located_time = "never sent";
  car.locate_status = "1";
  return car;
}

struct RequestCase {
  const char* name;
  std::function<void()> call;
  std::string method;
  std::string path;
  std::string parameterText;  // URL-encoded names and values, bare separators
};

class Requests : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApiBaseUrl(server.baseUrl());
    auto company = std::make_shared<TCompany>();
    company->token = "tok";
    SetCompany(company);
  }
  void TearDown() override {
    SetCompany(nullptr);
    SetApiBaseUrl(kDefaultServiceUrl);
  }
  LoopbackServer server{[](const CapturedRequest&) { return Reply::Json(UrlEncode(R"({"success":true,"result":{}})")); }};
  testsupport::ScopedLogFolder log;
};

TEST_F(Requests, EachCallSendsItsListInOrderWithUntrimmedValues) {
  int out = 0;
  TCars page;
  const std::vector<RequestCase> cases = {
      {"verify user", [] { Verify(VerifyMode::User, " demo ", "ab&c=d"); }, "GET", "/user/verify",
       "verify_for=user&login_name=+demo+&password=ab%26c%3Dd"},
      {"verify access", [] { Verify(VerifyMode::Access, "ignored", "ignored"); }, "GET", "/user/verify",
       "verify_for=access"},
      {"captcha", [] { RequestCaptcha("13800000000"); }, "GET", "/user/captcha",
       "token=tok&register_contact_number=13800000000"},
      {"register", [] { RegisterUser("user_1", "p w", "杭州货运", "13800000000", "1234", "330100"); },
       "POST", "/user/register",
       "token=tok&username=user_1&password=p+w&company=%E6%9D%AD%E5%B7%9E%E8%B4%A7%E8%BF%90"
       "&contact_number=13800000000&captcha=1234&seat=330100"},
      {"add", [] { SaveCar(SampleCar(), 1); }, "POST", "/car/add",
       "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345&model_1=1&model_2=2"
       "&length=9.6&tonnage=30&driver_name=+%E7%8E%8B+%E4%BA%94+&locate_number=13912345678"
       "&expected_flow=%E6%B5%99%E6%B1%9F%E7%9C%81%2C%E6%9D%AD%E5%B7%9E%E5%B8%82&driver_gender=%E7%94%B7"
       "&driver_id_number=1101%26x%3D1%25&model_3=3&model_4=4&volume=&width=2.4&height=2.7&description=a%2Bb"},
      {"edit", [] { SaveCar(SampleCar(), 2); }, "POST", "/car/edit",
       "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345&model_1=1&model_2=2"
       "&length=9.6&tonnage=30&driver_name=+%E7%8E%8B+%E4%BA%94+&locate_number=13912345678"
       "&expected_flow=%E6%B5%99%E6%B1%9F%E7%9C%81%2C%E6%9D%AD%E5%B7%9E%E5%B8%82&driver_gender=%E7%94%B7"
       "&driver_id_number=1101%26x%3D1%25&model_3=3&model_4=4&volume=&width=2.4&height=2.7&description=a%2Bb"},
      {"add by any other mode", [] { SaveCar(SampleCar(), 0); }, "POST", "/car/add", ""},
      {"delete", [] { DeleteCar("13800000000", "京A12345"); }, "GET", "/car/delete",
       "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345"},
      {"list, used order", [&] { GetCarPage("13800000000", 1, 0, page); }, "GET", "/car/list",
       "token=tok&register_contact_number=13800000000&sort_by=used_priority&page_no=1&page_size=999"},
      {"list, location order", [&] { GetCarPage("13800000000", 2, 1, page); }, "GET", "/car/list",
       "token=tok&register_contact_number=13800000000&sort_by=location_priority&page_no=2&page_size=999"},
      {"list, seat order", [&] { GetCarPage("13800000000", 3, 2, page); }, "GET", "/car/list",
       "token=tok&register_contact_number=13800000000&sort_by=seat_priority&page_no=3&page_size=999"},
      {"list, unknown order", [&] { GetCarPage("13800000000", 1, 7, page); }, "GET", "/car/list",
       "token=tok&register_contact_number=13800000000&sort_by=seat_priority&page_no=1&page_size=999"},
      {"locate", [] { LocateCar("13800000000", "京A12345"); }, "GET", "/car/locate",
       "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345"},
      {"open locate", [&] { OpenLocate("13800000000", "京A12345", out); }, "GET", "/car/open_locate",
       "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345"},
      {"locate status", [&] { GetLocateStatus("13800000000", "京A12345", out); }, "GET",
       "/car/get_locate_status", "token=tok&register_contact_number=13800000000&plate_number=%E4%BA%ACA12345"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const RequestCase& c = cases[i];
    SCOPED_TRACE(c.name);
    c.call();
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), i + 1);
    const CapturedRequest& request = requests.back();
    EXPECT_EQ(request.method, c.method);
    EXPECT_EQ(PathOf(request), c.path);
    if (c.method == "POST") {
      EXPECT_EQ(request.target, c.path) << "a POST carries no query";
      EXPECT_EQ(request.body.rfind("key=62937&parameters=", 0), 0u);
    } else {
      EXPECT_EQ(request.body, "");
      EXPECT_EQ(request.target.find("?key=62937&parameters="), c.path.size());
    }
    if (!c.parameterText.empty()) {
      EXPECT_EQ(ParameterText(request), c.parameterText);
    }
  }
  SetCompany(nullptr);
}

TEST_F(Requests, CaptchaAndRegistrationWithoutASessionSendNothing) {
  SetCompany(nullptr);
  for (const TMYResult& r : {RequestCaptcha("13800000000"), RegisterUser("u", "p", "c", "n", "1", "2")}) {
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.code, "002");
    EXPECT_EQ(r.message, "网络连接异常");
  }
  EXPECT_TRUE(server.requests().empty());
  EXPECT_TRUE(log.lines().empty());
}

}  // namespace
}  // namespace Korvane
