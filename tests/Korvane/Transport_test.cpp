// The call layer against real loopback sockets: every kind of failure becomes its result code
// and exactly one log line.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/Deployment.h"
#include "Korvane/HttpClient.h"
#include "support/LogFile.h"
#include "support/LoopbackServer.h"

namespace Korvane {
namespace {

using testsupport::LoopbackServer;
using testsupport::Reply;

const CallSpec kAccountCall{"/user/captcha", HttpMethod::Get, "获取验证码异常 - ", true};
const CallSpec kVehicleCall{"/car/list", HttpMethod::Get, "获取车辆列表异常 - ", false};
const CallSpec kPostCall{"/car/add", HttpMethod::Post, "新增车辆异常 - ", false};

class Transport : public ::testing::Test {
 protected:
  void SetUp() override { Http::SetTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(1000)}); }
  void TearDown() override {
    Http::SetTimeouts({});
    SetApiBaseUrl(kDefaultServiceUrl);
  }
  testsupport::ScopedLogFolder log;
};

struct FailureCase {
  const char* name;
  Reply reply;             // what the server does; unused when `refused`
  bool refused;            // nothing listens on the port
  CallSpec call;
  std::string code;
  std::string logStart;    // the log text up to the failure text
};

TEST_F(Transport, EveryFailureGivesItsCodeAndExactlyOneLogLine) {
  const std::vector<FailureCase> cases = {
      {"refused, account call", {}, true, kAccountCall, "002",
       "请求服务器异常 - ESocketError error raised, with message : "},
      {"refused, vehicle call", {}, true, kVehicleCall, "000",
       "获取车辆列表异常 - ESocketError error raised, with message : "},
      {"never answers, account call", Reply::Hang(), false, kAccountCall, "001",
       "请求服务器异常 - EReadTimeout error raised, with message : "},
      {"never answers, vehicle call", Reply::Hang(), false, kVehicleCall, "001",
       "请求服务器异常 - EReadTimeout error raised, with message : "},
      {"HTTP 500", Reply::Status(500, "Internal Server Error", "oops"), false, kVehicleCall, "000",
       "获取车辆列表异常 - EHttpStatus error raised, with message : HTTP/1.1 500 Internal Server Error"},
      {"HTTP 302 is not followed", Reply::Status(302, "Found"), false, kAccountCall, "000",
       "获取验证码异常 - EHttpStatus error raised, with message : HTTP/1.1 302 Found"},
      {"body not JSON", Reply::Json("<html>busy</html>"), false, kVehicleCall, "000",
       "获取车辆列表异常 - EBadAnswer error raised, with message : "},
      {"body not JSON, POST", Reply::Json("busy"), false, kPostCall, "000",
       "新增车辆异常 - EBadAnswer error raised, with message : "},
      {"connection dropped, account call", Reply::Drop(), false, kAccountCall, "002",
       "请求服务器异常 - ESocketError error raised, with message : "},
      {"lone percent", Reply::Json("%"), false, kAccountCall, "000",
       "获取验证码异常 - EBadEncoding error raised, with message : "},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScopedLogFolder caseLog;
    std::unique_ptr<LoopbackServer> server;
    if (c.refused) {
      SetApiBaseUrl("http://127.0.0.1:" + std::to_string(testsupport::UnusedPort()));
    } else {
      server = std::make_unique<LoopbackServer>([&](const auto&) { return c.reply; });
      SetApiBaseUrl(server->baseUrl());
    }
    const TMYResult r = RunCall(c.call, {"token=t"}, ReadResult);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.message, FailureResult(c.code).message);
    const auto texts = caseLog.errorTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(c.logStart, 0), 0u) << texts[0];
    if (c.logStart.ends_with(": ")) {
      EXPECT_GT(texts[0].size(), c.logStart.size()) << "the failure text is missing";
    } else {
      EXPECT_EQ(texts[0], c.logStart);
    }
  }
}

TEST_F(Transport, AServiceRefusalIsReturnedAndNotLogged) {
  LoopbackServer server([](const auto&) {
    return Reply::Json(UrlEncode(R"({"success":false,"error":{"code":"621","message":"请激活"}})"));
  });
  SetApiBaseUrl(server.baseUrl());
  const TMYResult r = RunCall(kAccountCall, {"token=t"}, ReadResult);
  EXPECT_FALSE(r.success);
  EXPECT_EQ(r.code, "621");
  EXPECT_EQ(r.message, "请激活");
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(Transport, GetSendsTheSignedUrlUnchanged) {
  LoopbackServer server([](const auto&) { return Reply::Json(UrlEncode(R"({"success":true})")); });
  SetApiBaseUrl(server.baseUrl());
  SetClock([] { return std::chrono::system_clock::time_point(std::chrono::seconds(1500000000)); });
  const std::string expected = BuildApiUrl("/user/captcha", {"token=t", "register_contact_number=1 3"});
  EXPECT_TRUE(RunCall(kAccountCall, {"token=t", "register_contact_number=1 3"}, ReadResult).success);
  SetClock({});
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(server.baseUrl() + requests[0].target, expected);
  EXPECT_EQ(requests[0].body, "");
}

TEST_F(Transport, PostSendsTheThreeFieldsFormEncodedInOrder) {
  LoopbackServer server([](const auto&) { return Reply::Json(UrlEncode(R"({"success":true})")); });
  SetApiBaseUrl(server.baseUrl());
  SetClock([] { return std::chrono::system_clock::time_point(std::chrono::seconds(1500000000)); });
  const ParamList list = {"token=t", "plate_number=京A12345", "description=a b&c=d"};
  const ParamList fields = SignParams(list);
  EXPECT_TRUE(RunCall(kPostCall, list, ReadResult).success);
  SetClock({});

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/car/add");
  EXPECT_NE(requests[0].headers.find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
  const std::string parameters = fields[1].substr(11), sign = fields[2].substr(5);
  EXPECT_EQ(requests[0].body,
            "key=62937&parameters=" + FormEncode(parameters) + "&sign=" + FormEncode(sign));
  // Base64 "=" and "+" travel escaped in a form body.
  EXPECT_EQ(requests[0].body.find('='), 3u);
  EXPECT_NE(requests[0].body.find("%3D"), std::string::npos);
  EXPECT_EQ(Base64Decode(parameters).substr(26),
            "&token=t&plate_number=%E4%BA%ACA12345&description=a+b%26c%3Dd");
}

TEST_F(Transport, ConcurrentCallsEachGetTheirOwnAnswerAndTheLogHoldsWholeLines) {
  // The server answers each request with the token it carried; odd tokens get an HTTP error,
  // so that failures from several threads are logged at the same time.
  LoopbackServer server([](const testsupport::CapturedRequest& request) {
    const std::size_t p = request.target.find("parameters=") + 11;
    const std::string parameters = request.target.substr(p, request.target.find('&', p) - p);
    const std::string text = Base64Decode(parameters);
    const std::string token = text.substr(text.find("token=") + 6);
    if (std::stoi(token) % 2 == 1) return Reply::Status(500, "Internal Server Error");
    return Reply::Json(UrlEncode(R"({"success":false,"error":{"code":")" + token + R"(","message":"m"}})"));
  });
  SetApiBaseUrl(server.baseUrl());

  constexpr int kThreads = 8, kCallsEach = 20;
  std::vector<std::thread> threads;
  std::vector<int> wrong(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &wrong] {
      for (int i = 0; i < kCallsEach; ++i) {
        const int token = t * 1000 + i;
        const TMYResult r = RunCall(kVehicleCall, {"token=" + std::to_string(token)}, ReadResult);
        const std::string expected = token % 2 == 1 ? "000" : std::to_string(token);
        if (r.code != expected) ++wrong[t];
      }
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;

  const auto texts = log.errorTexts();
  EXPECT_EQ(texts.size(), static_cast<std::size_t>(kThreads * kCallsEach / 2));
  for (const std::string& text : texts) {
    EXPECT_EQ(text, "获取车辆列表异常 - EHttpStatus error raised, with message : HTTP/1.1 500 Internal Server Error");
  }
}

}  // namespace
}  // namespace Korvane
