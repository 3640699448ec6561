// The signed-request checks: key, signature, parameter text and time stamp, over HTTP and
// on the decoder itself.
#include <gtest/gtest.h>

#include "Korvane/Codec.h"
#include "ServiceHarness.h"
#include "devservice/RequestDecoder.h"

namespace devtest {
namespace {

using devservice::DecodeParameters;
using devservice::ParamList;
using devservice::ServiceError;

const Pairs kAccess = {{"verify_for", "access"}};

TEST(RequestDecoder, ReadsTheWorkedExampleOfTheClient) {
  const std::string parameters =
      "dHM9MjAxNi0wOC0yNSsxNCUzQTAzJTNBMDkmcGFnZV9ubz0xJnBhZ2Vfc2l6ZT05OTk=";
  EXPECT_EQ(devservice::SignatureOf(parameters), "Yjg1MGJiYWQzNDg5YTViZmVjMDM0Mjk4MzYxOTA2Yzc=");
  const auto decoded = DecodeParameters(parameters);
  ASSERT_TRUE(std::holds_alternative<ParamList>(decoded));
  const auto& pairs = std::get<ParamList>(decoded).pairs();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"ts", "2016-08-25 14:03:09"}, {"page_no", "1"}, {"page_size", "999"}};
  EXPECT_EQ(pairs, expected);
}

TEST(RequestDecoder, KeepsEncodedSeparatorsInsideNamesAndValues) {
  const Pairs pairs = {{"description", "a&b=c"},
                       {"driver_name", "王 建国+1"},
                       {"x=y", "100%"},
                       {"empty", ""}};
  const auto decoded = DecodeParameters(Parameters("2024-05-14 10:00:00", pairs));
  ASSERT_TRUE(std::holds_alternative<ParamList>(decoded));
  const ParamList& params = std::get<ParamList>(decoded);
  ASSERT_EQ(params.pairs().size(), 5u);
  for (const auto& [name, value] : pairs) {
    ASSERT_NE(params.find(name), nullptr) << name;
    EXPECT_EQ(*params.find(name), value) << name;
  }
}

TEST(RequestDecoder, RefusesMalformedParameterTexts) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"not Base64", "not base64!"},
      {"length not a multiple of 4", "dHM9"  "MjA"},
      {"a pair without =", Korvane::Base64Encode("ts=2024-05-14+10%3A00%3A00&token")},
      {"a pair without a name", Korvane::Base64Encode("ts=2024-05-14+10%3A00%3A00&=x")},
      {"a broken escape", Korvane::Base64Encode("ts=2024-05-14+10%3A00%3A00&a=%4")},
      {"a value that is not UTF-8", Korvane::Base64Encode("ts=2024-05-14+10%3A00%3A00&a=%FF%FE")},
  };
  for (const auto& [what, parameters] : cases) {
    const auto decoded = DecodeParameters(parameters);
    ASSERT_TRUE(std::holds_alternative<ServiceError>(decoded)) << what;
    EXPECT_EQ(std::get<ServiceError>(decoded).code, "104") << what;
  }
}

class SignedRequests : public ::testing::Test {
 protected:
  ServiceHarness harness;
  // Sends fields as a GET query to /user/verify and reads the plain answer.
  Json verifyWith(const std::string& query) const {
    return Envelope(harness.raw("GET", "/user/verify?" + query), false);
  }
};

TEST_F(SignedRequests, AcceptsTheClientsRequestsByGetAndByPost) {
  EXPECT_TRUE(Succeeds(harness.call("/user/verify", kAccess)));
  const std::string token = harness.demoToken();
  const Pairs plate = {{"token", token}, {"register_contact_number", "13800138000"},
                       {"plate_number", "浙A12345"}, {"locate_number", "13912345678"}};
  EXPECT_TRUE(Succeeds(Envelope(harness.post("/car/add", plate), true)));
}

TEST_F(SignedRequests, TakesPlusInAGetQueryAsPlus) {
  // A URL-encoded parameter text never yields "+" or "*" in Base64, but "~", "?" and ">"
  // left unencoded do; the service must read such a query without turning "+" into a space.
  std::string query;
  for (const std::string tail : {"~", "~?", "?>", "~?>~", ">?~?"}) {
    const std::string parameters =
        Korvane::Base64Encode(ParameterText(harness.ts(), kAccess) + "&n=" + tail);
    if (parameters.find('+') != std::string::npos && parameters.find('*') != std::string::npos) {
      query = "key=62937&parameters=" + parameters + "&sign=" + devservice::SignatureOf(parameters);
      break;
    }
  }
  ASSERT_FALSE(query.empty());
  EXPECT_TRUE(Succeeds(verifyWith(query)));
}

TEST_F(SignedRequests, RefusesBrokenEnvelopesWithTheirOwnCodes) {
  const std::string parameters = Parameters(harness.ts(), kAccess);
  const std::string sign = devservice::SignatureOf(parameters);
  const std::string garbage = Korvane::Base64Encode("no pairs here");
  const std::vector<std::tuple<const char*, std::string, std::string>> cases = {
      {"no key", "parameters=" + parameters + "&sign=" + sign, "100"},
      {"no parameters", "key=62937&sign=" + sign, "100"},
      {"no sign", "key=62937&parameters=" + parameters, "100"},
      {"nothing at all", "", "100"},
      {"another key", "key=62938&parameters=" + parameters + "&sign=" + sign, "101"},
      {"a wrong sign", "key=62937&parameters=" + parameters + "&sign=" + sign.substr(1) + "A", "103"},
      {"the sign of other parameters",
       "key=62937&parameters=" + parameters + "&sign=" +
           devservice::SignatureOf(Parameters(harness.ts(1), kAccess)),
       "103"},
      {"parameters changed after signing",
       "key=62937&parameters=" + Parameters(harness.ts(), {{"verify_for", "user"}}) + "&sign=" + sign,
       "103"},
      {"signed parameters without pairs",
       "key=62937&parameters=" + garbage + "&sign=" + devservice::SignatureOf(garbage), "104"},
  };
  for (const auto& [what, query, code] : cases) {
    EXPECT_TRUE(FailsWith(verifyWith(query), code)) << what;
  }
}

TEST_F(SignedRequests, AcceptsTimeStampsUpToTenMinutesAwayAndRefusesFurtherOnes) {
  const std::vector<std::pair<std::time_t, const char*>> cases = {
      {0, nullptr},      {600, nullptr},   {-600, nullptr}, {599, nullptr},
      {601, "102"},      {-601, "102"},    {660, "102"},    {-3600 * 24, "102"},
  };
  for (const auto& [offset, code] : cases) {
    const Json answer = harness.call("/user/verify", kAccess, offset);
    if (code == nullptr) {
      EXPECT_TRUE(Succeeds(answer)) << offset;
    } else {
      EXPECT_TRUE(FailsWith(answer, code)) << offset;
    }
  }
}

TEST_F(SignedRequests, TheTimeStampCheckFollowsTheServiceClock) {
  harness.service().clock().advance(3600);
  EXPECT_TRUE(Succeeds(harness.call("/user/verify", kAccess)));
  const std::string hourOld = devservice::FormatLocalTime(harness.now() - 3600);
  const Reply reply = harness.raw("GET", "/user/verify?" + SignedQuery(hourOld, kAccess));
  EXPECT_TRUE(FailsWith(Envelope(reply, false), "102"));
}

TEST_F(SignedRequests, RefusesTimeStampsThatAreNotTimes) {
  const std::vector<std::string> stamps = {"", "2024-05-14", "2024-05-14T10:00:00",
                                           "2024-13-14 10:00:00", "2024-02-30 10:00:00",
                                           "2024-05-14 24:00:00", "yesterday"};
  for (const std::string& ts : stamps) {
    const Reply reply = harness.raw("GET", "/user/verify?" + SignedQuery(ts, kAccess));
    EXPECT_TRUE(FailsWith(Envelope(reply, false), "104")) << ts;
  }
  // A parameter text without "ts" at all.
  const std::string parameters = Korvane::Base64Encode("verify_for=access");
  const Reply reply = harness.raw("GET", "/user/verify?key=62937&parameters=" + parameters +
                                             "&sign=" + devservice::SignatureOf(parameters));
  EXPECT_TRUE(FailsWith(Envelope(reply, false), "104"));
}

TEST_F(SignedRequests, RefusalsComeInTheAnswerModeOfThePath) {
  // A bad sign on a URL-decoded call is itself URL-encoded; on a plain call it is plain.
  const std::string query = "key=62937&parameters=" + Parameters(harness.ts(), kAccess) + "&sign=x";
  const Reply encoded = harness.raw("GET", "/car/delete?" + query);
  EXPECT_EQ(encoded.status, 200);
  EXPECT_EQ(encoded.body.rfind("%7B%22success%22", 0), 0u) << encoded.body;
  EXPECT_TRUE(FailsWith(Envelope(encoded, true), "103"));
  const Reply plain = harness.raw("GET", "/car/list?" + query);
  EXPECT_EQ(plain.body.rfind("{\"success\"", 0), 0u) << plain.body;
  EXPECT_TRUE(FailsWith(Envelope(plain, false), "103"));
}

}  // namespace
}  // namespace devtest
