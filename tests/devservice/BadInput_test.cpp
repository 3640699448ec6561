// Bad requests get an error envelope and leave the service and its data as they were.
#include <gtest/gtest.h>

#include <random>

#include "Korvane/Codec.h"
#include "ServiceHarness.h"
#include "devservice/RequestDecoder.h"
#include "devservice/Seed.h"

namespace devtest {
namespace {

const std::string kContact = devservice::kDemoContactNumber;

class BadInput : public ::testing::Test {
 protected:
  ServiceHarness harness;

  std::int64_t vehicleCount() const {
    const Json listed = harness.call("/car/list", {{"token", harness.demoToken()},
                                                   {"register_contact_number", kContact},
                                                   {"sort_by", "used_priority"},
                                                   {"page_no", "1"},
                                                   {"page_size", "1"}});
    return listed.value("/result/total_results"_json_pointer, -1);
  }
  // The envelope of a reply that is plain JSON, whatever the status.
  static Json plain(const Reply& reply) { return Envelope(reply, false); }
};

TEST_F(BadInput, WrongMethodsAndUnknownPathsGetEnvelopes) {
  const std::string query = SignedQuery(harness.ts(), {{"verify_for", "access"}});
  const std::vector<std::tuple<std::string, std::string, int, std::string>> cases = {
      {"POST", "/user/verify", 405, "112"},
      {"GET", "/car/add?" + query, 405, "112"},
      {"GET", "/user/register?" + query, 405, "112"},
      {"POST", "/car/list", 405, "112"},
      {"DELETE", "/car/delete", 405, "112"},
      {"PUT", "/car/edit", 405, "112"},
      {"GET", "/car/fly", 404, "113"},
      {"POST", "/nowhere", 404, "113"},
  };
  for (const auto& [method, target, status, code] : cases) {
    const Reply reply = harness.raw(method, target, "x=1");
    EXPECT_EQ(reply.status, status) << method << " " << target;
    EXPECT_TRUE(FailsWith(plain(reply), code)) << method << " " << target;
  }
}

TEST_F(BadInput, OversizeBodiesAreRefusedWithAnEnvelope) {
  const std::string body = "key=62937&parameters=" + std::string(200 * 1024, 'A') + "&sign=x";
  const Reply reply = harness.raw("POST", "/car/add", body);
  EXPECT_EQ(reply.status, 413);
  EXPECT_TRUE(FailsWith(plain(reply), "114"));
  EXPECT_EQ(vehicleCount(), devservice::kDemoVehicleCount);
}

TEST_F(BadInput, FormBodiesAreCheckedLikeQueries) {
  const std::string parameters = Korvane::FormEncode(Parameters(harness.ts(), {{"token", "t"}}));
  const std::string sign =
      Korvane::FormEncode(devservice::SignatureOf(Parameters(harness.ts(), {{"token", "t"}})));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "100"},
      {"key=62937", "100"},
      {"%%%&&&===", "100"},
      {"key=62938&parameters=" + parameters + "&sign=" + sign, "101"},
      {"key=62937&parameters=" + parameters + "&sign=%ZZ", "103"},
      {"key=62937&parameters=%E4%B8%AD&sign=" +
           Korvane::FormEncode(devservice::SignatureOf("中")), "104"},
      // Well signed: it gets as far as the token.
      {"key=62937&parameters=" + parameters + "&sign=" + sign, "105"},
  };
  for (const auto& [body, code] : cases) {
    const Reply reply = harness.raw("POST", "/car/add", body);
    EXPECT_EQ(reply.status, 200) << body;
    EXPECT_TRUE(FailsWith(Envelope(reply, true), code)) << body;
  }
}

TEST_F(BadInput, RandomJunkNeverBreaksTheService) {
  std::mt19937 random(20240514);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 300);
  const char* paths[] = {"/user/verify", "/car/list", "/car/add", "/car/locate", "/user/register"};
  for (int i = 0; i < 200; ++i) {
    std::string junk;
    for (int n = length(random); n > 0; --n) junk += static_cast<char>(byte(random));
    const std::string path = paths[i % 5];
    const bool posted = path == "/car/add" || path == "/user/register";
    // Junk goes in as the Base64 parameters (signed, so it reaches the decoder) or as a body.
    const std::string parameters = i % 2 == 0 ? Korvane::Base64Encode(junk) : Korvane::UrlEncode(junk);
    const std::string fields = "key=62937&parameters=" + Korvane::FormEncode(parameters) +
                               "&sign=" + Korvane::FormEncode(devservice::SignatureOf(parameters));
    const Reply reply = posted ? harness.raw("POST", path, i % 3 == 0 ? junk : fields)
                               : harness.raw("GET", path + "?" + fields);
    ASSERT_NE(reply.status, 0) << "no answer for case " << i;
    const Json envelope = Envelope(reply, AnswersUrlEncoded(path));
    ASSERT_TRUE(envelope.is_object()) << i;
    EXPECT_FALSE(envelope.value("success", true)) << i << ": " << reply.body;
  }
  EXPECT_EQ(vehicleCount(), devservice::kDemoVehicleCount);
}

TEST_F(BadInput, ValuesThatLookLikeSeparatorsAreStoredAsSent) {
  // "&" and "=" inside a value travel encoded; the service must not split at them.
  const std::string token = harness.demoToken();
  ASSERT_TRUE(Succeeds(harness.call("/car/add", {{"token", token},
                                                 {"register_contact_number", kContact},
                                                 {"plate_number", "浙A0A0A0"},
                                                 {"locate_number", "13600000000"},
                                                 {"driver_id_number", "id=1&width=9"},
                                                 {"driver_name", "张 三"},
                                                 {"width", "2.5"}})));
  const Json listed = harness.call("/car/list", {{"token", token},
                                                 {"register_contact_number", kContact},
                                                 {"sort_by", "used_priority"},
                                                 {"page_no", "1"},
                                                 {"page_size", "1"}});
  const Json& car = listed["result"]["car_lists"][0];
  EXPECT_EQ(car["plate_number"], "浙A0A0A0");
  EXPECT_EQ(car["driver_id_number"], "id=1&width=9");
  EXPECT_EQ(car["driver_name"], "张 三");
  EXPECT_EQ(car["width"], "2.5");
}

}  // namespace
}  // namespace devtest
