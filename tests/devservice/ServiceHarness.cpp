#include <gtest/gtest.h>

#include "ServiceHarness.h"

#include <httplib.h>

#include "Korvane/Codec.h"
#include "devservice/Clock.h"
#include "devservice/Seed.h"

namespace devtest {

std::string ParameterText(const std::string& ts, const Pairs& pairs) {
  std::string text = "ts=" + Korvane::UrlEncode(ts);
  for (const auto& [name, value] : pairs) {
    text += "&" + Korvane::UrlEncode(name) + "=" + Korvane::UrlEncode(value);
  }
  return text;
}

std::string Parameters(const std::string& ts, const Pairs& pairs) {
  return Korvane::Base64Encode(ParameterText(ts, pairs));
}

namespace {

std::string Sign(const std::string& parameters) {
  return Korvane::EncodeParam(
      Korvane::MD5Hex("62937" + parameters + "Qm5wUjd6Vk1kYTRoTXBXcTJnTnNFeUs4Ym9MdkFyQ2k="));
}

}  // namespace

std::string SignedQuery(const std::string& ts, const Pairs& pairs) {
  const std::string parameters = Parameters(ts, pairs);
  return "key=62937&parameters=" + parameters + "&sign=" + Sign(parameters);
}

std::string SignedForm(const std::string& ts, const Pairs& pairs) {
  const std::string parameters = Parameters(ts, pairs);
  return "key=62937&parameters=" + Korvane::FormEncode(parameters) +
         "&sign=" + Korvane::FormEncode(Sign(parameters));
}

Json Envelope(const Reply& reply, bool urlEncoded) {
  try {
    return Json::parse(urlEncoded ? Korvane::UrlDecode(reply.body) : reply.body);
  } catch (const std::exception& failure) {
    ADD_FAILURE() << "not an envelope (" << failure.what() << "): " << reply.body;
    return Json();
  }
}

std::time_t FixedNow() { return *devservice::ParseLocalTime("2024-05-14 10:00:00"); }

bool AnswersUrlEncoded(const std::string& path) {
  return path != "/user/verify" && path != "/car/list" && path != "/car/locate";
}

ServiceHarness::ServiceHarness(devservice::ServiceOptions options, bool seedDemo)
    : service_(std::make_unique<devservice::DevService>(std::move(options))) {
  service_->clock().freezeAt(FixedNow());
  if (seedDemo) devservice::SeedDemo(service_->storage(), service_->clock().now());
  port_ = service_->start(0);
}

ServiceHarness::~ServiceHarness() { service_->stop(); }

std::time_t ServiceHarness::now() const { return service_->clock().now(); }

std::string ServiceHarness::ts(std::time_t offset) const {
  return devservice::FormatLocalTime(now() + offset);
}

Reply ServiceHarness::raw(const std::string& method, const std::string& target,
                          const std::string& body, const std::string& contentType) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_url_encode(false);
  client.set_read_timeout(30, 0);
  auto send = [&]() -> httplib::Result {
    if (method == "GET") return client.Get(target);
    if (method == "POST") return client.Post(target, body, contentType);
    if (method == "PUT") return client.Put(target, body, contentType);
    if (method == "DELETE") return client.Delete(target, body, contentType);
    httplib::Request request;
    request.method = method;
    request.path = target;
    request.body = body;
    return client.send(request);
  };
  const httplib::Result result = send();
  if (!result) {
    ADD_FAILURE() << method << " " << target << " failed: " << httplib::to_string(result.error());
    return Reply{};
  }
  return Reply{result->status, result->body, result->get_header_value("Content-Type")};
}

Reply ServiceHarness::get(const std::string& path, const Pairs& pairs,
                          std::time_t tsOffset) const {
  return raw("GET", path + "?" + SignedQuery(ts(tsOffset), pairs));
}

Reply ServiceHarness::post(const std::string& path, const Pairs& pairs,
                           std::time_t tsOffset) const {
  return raw("POST", path, SignedForm(ts(tsOffset), pairs));
}

Json ServiceHarness::call(const std::string& path, const Pairs& pairs,
                          std::time_t tsOffset) const {
  const bool posted = path == "/user/register" || path == "/car/add" || path == "/car/edit";
  const Reply reply = posted ? post(path, pairs, tsOffset) : get(path, pairs, tsOffset);
  return Envelope(reply, AnswersUrlEncoded(path));
}

std::string ServiceHarness::signIn(const std::string& login, const std::string& password) const {
  const Json answer = call("/user/verify", {{"verify_for", "user"},
                                            {"login_name", login},
                                            {"password", password}});
  EXPECT_TRUE(Succeeds(answer)) << answer.dump();
  return answer.value("/result/token"_json_pointer, std::string());
}

std::string ServiceHarness::demoToken() const {
  return signIn(devservice::kDemoLoginName, devservice::kDemoPassword);
}

std::string ServiceHarness::newCompany(const std::string& login, const std::string& contact,
                                       const std::string& seat) const {
  const Json access = call("/user/verify", {{"verify_for", "access"}});
  const std::string token = access.value("/result/token"_json_pointer, std::string());
  EXPECT_TRUE(Succeeds(call("/user/captcha", {{"token", token},
                                              {"register_contact_number", contact}})));
  const Json code = Envelope(raw("GET", "/dev/captcha?contact_number=" + contact), false);
  const std::string captcha = code.value("/result/captcha"_json_pointer, std::string());
  EXPECT_TRUE(Succeeds(call("/user/register", {{"token", token},
                                               {"username", login},
                                               {"password", "secret99"},
                                               {"company", login + "物流"},
                                               {"contact_number", contact},
                                               {"captcha", captcha},
                                               {"seat", seat}})));
  EXPECT_EQ(raw("GET", "/dev/activate?login_name=" + login).status, 200);
  return signIn(login, "secret99");
}

::testing::AssertionResult FailsWith(const Json& envelope, const std::string& code) {
  if (!envelope.is_object()) return ::testing::AssertionFailure() << "no envelope";
  if (envelope.value("success", true) != false) {
    return ::testing::AssertionFailure() << "succeeded: " << envelope.dump();
  }
  const std::string actual = envelope.value("/error/code"_json_pointer, std::string());
  if (actual != code) {
    return ::testing::AssertionFailure() << "code " << actual << " instead of " << code << ": "
                                         << envelope.dump();
  }
  if (!envelope["error"]["message"].is_string() ||
      envelope["error"]["message"].get<std::string>().empty()) {
    return ::testing::AssertionFailure() << "no message: " << envelope.dump();
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Succeeds(const Json& envelope) {
  if (!envelope.is_object()) return ::testing::AssertionFailure() << "no envelope";
  if (envelope.value("success", false) != true || !envelope["result"].is_object()) {
    return ::testing::AssertionFailure() << envelope.dump();
  }
  return ::testing::AssertionSuccess();
}

}  // namespace devtest
