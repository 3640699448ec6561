// Signing in, verification codes and registration.
#include <gtest/gtest.h>

#include <set>

#include "ServiceHarness.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

class AccountCalls : public ::testing::Test {
 protected:
  ServiceHarness harness;

  Json verify(const std::string& login, const std::string& password) const {
    return harness.call("/user/verify",
                        {{"verify_for", "user"}, {"login_name", login}, {"password", password}});
  }
  std::string accessToken() const {
    const Json access = harness.call("/user/verify", {{"verify_for", "access"}});
    return access.value("/result/token"_json_pointer, std::string());
  }
  Json captcha(const std::string& token, const std::string& number) const {
    return harness.call("/user/captcha", {{"token", token}, {"register_contact_number", number}});
  }
  std::string sentCode(const std::string& number) const {
    const Json code = Envelope(harness.raw("GET", "/dev/captcha?contact_number=" + number), false);
    return code.value("/result/captcha"_json_pointer, std::string());
  }
  Pairs registration(const std::string& token, const std::string& code) const {
    return {{"token", token},         {"username", "fleet_one"},
            {"password", "secret99"}, {"company", "宁波快运有限公司"},
            {"contact_number", "13911112222"}, {"captcha", code},
            {"seat", "330200"}};
  }
  static Pairs with(Pairs pairs, const std::string& name, const std::string& value) {
    for (auto& pair : pairs) {
      if (pair.first == name) pair.second = value;
    }
    return pairs;
  }
};

TEST_F(AccountCalls, SignInAnswersThePlainSessionRecord) {
  const Reply reply = harness.get("/user/verify", {{"verify_for", "user"},
                                                   {"login_name", devservice::kDemoLoginName},
                                                   {"password", devservice::kDemoPassword}});
  ASSERT_EQ(reply.body.rfind("{", 0), 0u) << "plain JSON expected: " << reply.body;
  const Json answer = Envelope(reply, false);
  ASSERT_TRUE(Succeeds(answer));
  const Json& result = answer["result"];
  const std::vector<std::string> texts = {
      "company_name", "register_contact_number", "token", "partner_name",
      "partner_contact_number", "partner_address", "partner_contact_person",
      "partner_identification", "current_city", "seat_city", "membership_use_deadline"};
  for (const std::string& name : texts) EXPECT_TRUE(result[name].is_string()) << name;
  EXPECT_TRUE(result["account_balance"].is_number());
  EXPECT_TRUE(result["rebate"].is_number_integer());
  EXPECT_TRUE(result["is_partner"].is_number_integer());
  EXPECT_EQ(result["company_name"], devservice::kDemoCompanyName);
  EXPECT_EQ(result["register_contact_number"], devservice::kDemoContactNumber);
  EXPECT_DOUBLE_EQ(result["account_balance"].get<double>(), 200.0);
  EXPECT_EQ(result["seat_city"], "杭州市");
  EXPECT_EQ(result["current_city"], "宁波市");
  // The membership runs a year from the seeding.
  EXPECT_EQ(result["membership_use_deadline"], "2025-05-14 10:00:00");
  EXPECT_EQ(result["token"].get<std::string>().size(), 32u);
}

TEST_F(AccountCalls, SignsInByAccountNameOrMobileNumberWithANewTokenEachTime) {
  const Json byName = verify(devservice::kDemoLoginName, devservice::kDemoPassword);
  const Json byMobile = verify(devservice::kDemoContactNumber, devservice::kDemoPassword);
  ASSERT_TRUE(Succeeds(byName));
  ASSERT_TRUE(Succeeds(byMobile));
  EXPECT_EQ(byName["result"]["company_name"], byMobile["result"]["company_name"]);
  EXPECT_NE(byName["result"]["token"], byMobile["result"]["token"]);
}

TEST_F(AccountCalls, RefusedSignInsCarryTheirOwnCodes) {
  // An account registered but not activated.
  const std::string token = accessToken();
  ASSERT_TRUE(Succeeds(captcha(token, "13911112222")));
  ASSERT_TRUE(Succeeds(harness.call("/user/register", registration(token, sentCode("13911112222")))));

  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"nobody", "demo1234", "601"},
      {devservice::kDemoLoginName, "demo12345", "602"},
      {devservice::kDemoLoginName, "", "602"},
      {"DEMO", devservice::kDemoPassword, "601"},
      {"fleet_one", "wrong-one", "602"},
      {"fleet_one", "secret99", "622"},
      {"13911112222", "secret99", "622"},
  };
  for (const auto& [login, password, code] : cases) {
    EXPECT_TRUE(FailsWith(verify(login, password), code)) << login << " / " << password;
  }
  EXPECT_TRUE(FailsWith(harness.call("/user/verify", {{"verify_for", "guest"}}), "603"));
  EXPECT_TRUE(FailsWith(harness.call("/user/verify", {{"verify_for", "user"}}), "110"));
}

TEST_F(AccountCalls, AccessModeGivesATokenWithoutACompany) {
  const Json answer = harness.call("/user/verify", {{"verify_for", "access"}});
  ASSERT_TRUE(Succeeds(answer));
  EXPECT_EQ(answer["result"]["company_name"], "");
  EXPECT_EQ(answer["result"]["membership_use_deadline"], "");
  const std::string token = answer["result"]["token"];
  // Good for the registration calls, not for a company's vehicles.
  EXPECT_TRUE(Succeeds(captcha(token, "13911112222")));
  EXPECT_TRUE(FailsWith(harness.call("/car/list", {{"token", token},
                                                   {"register_contact_number", ""},
                                                   {"sort_by", "used_priority"}}),
                        "108"));
}

TEST_F(AccountCalls, CaptchaIsWrittenToTheConsoleAndReadableForTests) {
  const Reply reply = harness.get("/user/captcha", {{"token", accessToken()},
                                                    {"register_contact_number", "13911112222"}});
  EXPECT_EQ(reply.body.rfind("%7B", 0), 0u) << "URL-encoded JSON expected: " << reply.body;
  ASSERT_TRUE(Succeeds(Envelope(reply, true)));
  const std::string code = sentCode("13911112222");
  ASSERT_EQ(code.size(), 6u);
  bool printed = false;
  for (const std::string& line : harness.service().console().lines()) {
    printed = printed || (line.find("13911112222") != std::string::npos &&
                          line.find(code) != std::string::npos);
  }
  EXPECT_TRUE(printed);
  EXPECT_EQ(harness.raw("GET", "/dev/captcha?contact_number=13900000000").status, 404);
}

TEST_F(AccountCalls, CaptchaRefusals) {
  const std::string token = accessToken();
  const Json invalid = captcha(token, "1391111222");
  ASSERT_TRUE(FailsWith(invalid, "300"));
  EXPECT_EQ(invalid["error"]["validates"]["register_contact_number"][0], "手机号码无效");
  const Json registered = captcha(token, devservice::kDemoContactNumber);
  ASSERT_TRUE(FailsWith(registered, "300"));
  EXPECT_EQ(registered["error"]["validates"]["register_contact_number"][0], "该手机号码已经注册");
  EXPECT_TRUE(FailsWith(captcha("no-such-token", "13911112222"), "105"));

  ASSERT_TRUE(Succeeds(captcha(token, "13911112222")));
  EXPECT_TRUE(FailsWith(captcha(token, "13911112222"), "213"));
  harness.service().clock().advance(60);
  EXPECT_TRUE(Succeeds(captcha(token, "13911112222")));

  // The number of an account that still waits for activation.
  ASSERT_TRUE(Succeeds(harness.call("/user/register", registration(token, sentCode("13911112222")))));
  EXPECT_TRUE(FailsWith(captcha(token, "13911112222"), "621"));
}

TEST_F(AccountCalls, RegistersAnAccountThatSignsInOnceActivated) {
  const std::string token = accessToken();
  ASSERT_TRUE(Succeeds(captcha(token, "13911112222")));
  const Reply reply = harness.post("/user/register", registration(token, sentCode("13911112222")));
  EXPECT_EQ(reply.body.rfind("%7B", 0), 0u) << reply.body;
  ASSERT_TRUE(Succeeds(Envelope(reply, true)));
  EXPECT_TRUE(FailsWith(verify("fleet_one", "secret99"), "622"));
  EXPECT_EQ(harness.raw("POST", "/dev/activate", "login_name=fleet_one").status, 200);
  const Json signedIn = verify("fleet_one", "secret99");
  ASSERT_TRUE(Succeeds(signedIn));
  EXPECT_EQ(signedIn["result"]["company_name"], "宁波快运有限公司");
  EXPECT_EQ(signedIn["result"]["seat_city"], "宁波市");
  EXPECT_EQ(signedIn["result"]["register_contact_number"], "13911112222");
  // The code is used up.
  EXPECT_EQ(harness.raw("GET", "/dev/captcha?contact_number=13911112222").status, 404);
}

TEST_F(AccountCalls, RegistrationRefusesFieldByField) {
  const std::string token = accessToken();
  ASSERT_TRUE(Succeeds(captcha(token, "13911112222")));
  const std::string code = sentCode("13911112222");
  const Pairs good = registration(token, code);
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"username", "", "登录帐号不能为空"},
      {"username", "fleet one", "登录帐号只能由汉字、字母、数字和下划线组成"},
      {"username", devservice::kDemoLoginName, "登录帐号已经注册"},
      {"password", "12345", "密码不能少于6位"},
      {"company", "", "公司名称不能为空"},
      {"company", "快运<公司>", "公司名称不能包含特殊字符"},
      {"contact_number", "12345678901", "手机号码无效"},
      {"contact_number", devservice::kDemoContactNumber, "该手机号码已经注册"},
      {"captcha", code == "000000" ? "111111" : "000000", "验证码错误或已过期"},
      {"captcha", "", "验证码不能为空"},
      {"seat", "330000", "所在地无效,请选择一个城市"},
      {"seat", "999999", "所在地无效,请选择一个城市"},
  };
  for (const auto& [field, value, message] : cases) {
    const Json answer = harness.call("/user/register", with(good, field, value));
    ASSERT_TRUE(FailsWith(answer, "300")) << field << "=" << value;
    const Json& validates = answer["error"]["validates"];
    ASSERT_TRUE(validates.contains(field)) << answer.dump();
    EXPECT_EQ(validates[field][0], message) << field << "=" << value;
  }
  // Every refusal above left the number free and the code valid.
  EXPECT_TRUE(Succeeds(harness.call("/user/register", good)));
}

TEST_F(AccountCalls, AnExpiredCodeIsRefused) {
  const std::string token = accessToken();
  ASSERT_TRUE(Succeeds(captcha(token, "13911112222")));
  const std::string code = sentCode("13911112222");
  harness.service().clock().advance(601);
  const Json answer = harness.call("/user/register", registration(token, code), 0);
  ASSERT_TRUE(FailsWith(answer, "300"));
  EXPECT_TRUE(answer["error"]["validates"].contains("captcha"));
}

TEST_F(AccountCalls, RefusalsListEveryRejectedFieldInOneAnswer) {
  const Json answer = harness.call("/user/register", {{"token", accessToken()}});
  ASSERT_TRUE(FailsWith(answer, "300"));
  std::set<std::string> fields;
  for (const auto& [field, messages] : answer["error"]["validates"].items()) {
    EXPECT_TRUE(messages.is_array() && !messages.empty()) << field;
    fields.insert(field);
  }
  EXPECT_EQ(fields, (std::set<std::string>{"username", "password", "company", "contact_number",
                                           "seat", "captcha"}));
}

}  // namespace
}  // namespace devtest
