#include <gtest/gtest.h>

#include <optional>

#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/Failures.h"
#include "Korvane/JsonReader.h"

namespace Korvane {
namespace {

struct Expected {
  bool success;
  std::string code, message, detail;
};

struct ReaderCase {
  const char* name;
  std::string json;                 // the answer before URL encoding
  std::optional<Expected> result;   // none: the reader refuses the answer
};

const std::vector<ReaderCase> kEnvelopeCases = {
    {"success", R"({"success":true,"result":{}})", Expected{true, "", "", ""}},
    {"success without result is not read further", R"({"success":true})", Expected{true, "", "", ""}},
    {"missing success reads as false", R"({"error":{"code":"101","message":"m"}})",
     Expected{false, "101", "m", ""}},
    {"refusal without validates", R"({"success":false,"error":{"code":"621","message":"未激活"}})",
     Expected{false, "621", "未激活", ""}},
    {"validates joined in document order",
     R"({"success":false,"error":{"code":"400","message":"m","validates":{"plate_number":["车牌号已存在"],"locate_number":["手机号无效","手机号已使用"]}}})",
     Expected{false, "400", "m", "\r\n\r\n车牌号已存在\r\n手机号无效\r\n手机号已使用"}},
    {"two messages", R"({"success":false,"error":{"code":"1","message":"m","validates":{"z":["first"],"a":["second"]}}})",
     Expected{false, "1", "m", "\r\n\r\nfirst\r\nsecond"}},
    {"empty validates", R"({"success":false,"error":{"code":"1","message":"m","validates":{}}})",
     Expected{false, "1", "m", "\r\n"}},
    {"null code and message read empty", R"({"success":false,"error":{"code":null,"message":null}})",
     Expected{false, "", "", ""}},
    {"missing code and message read empty", R"({"success":false,"error":{}})", Expected{false, "", "", ""}},
    {"unicode escapes", R"({"success":false,"error":{"code":"9","message":"\u4eac"}})", Expected{false, "9", "京", ""}},
    {"null success is the wrong type", R"({"success":null,"error":{}})", std::nullopt},
    {"numeric success is the wrong type", R"({"success":1,"result":{}})", std::nullopt},
    {"numeric code is the wrong type", R"({"success":false,"error":{"code":102,"message":"m"}})", std::nullopt},
    {"validates not an object", R"({"success":false,"error":{"code":"1","message":"m","validates":["x"]}})", std::nullopt},
    {"failure without error", R"({"success":false})", std::nullopt},
    {"error not an object", R"({"success":false,"error":"boom"})", std::nullopt},
    {"not JSON", "<html>502</html>", std::nullopt},
    {"not an object", R"([{"success":true}])", std::nullopt},
    {"empty body", "", std::nullopt},
};

void ExpectResult(const TMYResult& r, const Expected& e) {
  EXPECT_EQ(r.success, e.success);
  EXPECT_EQ(r.code, e.code);
  EXPECT_EQ(r.message, e.message);
  EXPECT_EQ(r.detail, e.detail);
}

TEST(ReadResult, AppliesTheValueRulesToTheUrlDecodedEnvelope) {
  for (const ReaderCase& c : kEnvelopeCases) {
    SCOPED_TRACE(c.name);
    const std::string body = UrlEncode(c.json);
    if (c.result) {
      ExpectResult(ReadResult(body), *c.result);
    } else {
      EXPECT_THROW(ReadResult(body), ECallFailure);
    }
  }
}

TEST(ReadResult, ALonePercentFailsOnlyTheUrlDecodedRead) {
  const std::string body = R"({"success":false,"error":{"code":"5","message":"100%"}})";
  EXPECT_THROW(ReadResult(body), EBadEncoding);
  ExpectResult(ReadEnvelope(JsonObject::Parse(body), false), Expected{false, "5", "100%", ""});
}

TEST(ReadResult, DecodesPlusAsBlankAndDoublePercentAsPercent) {
  ExpectResult(ReadResult(R"({"success":false,"error":{"code":"5","message":"a+b+100%%"}})"),
               Expected{false, "5", "a b 100%", ""});
}

TEST(ReadEnvelope, ReadsValidatesOnlyWhenAsked) {
  const JsonObject answer = JsonObject::Parse(
      R"({"success":false,"error":{"code":"604","message":"未开通","validates":{"a":["x"]}}})");
  ExpectResult(ReadEnvelope(answer, false), Expected{false, "604", "未开通", ""});
  ExpectResult(ReadEnvelope(answer, true), Expected{false, "604", "未开通", "\r\n\r\nx"});
}

struct CountCase {
  const char* name;
  std::string json;
  bool throws;
  bool success;
  int count;
};

TEST(ReadOpenLocateResult, ReadsRequestTimesOnSuccessAndLeavesMinusOneOtherwise) {
  const std::vector<CountCase> cases = {
      {"integer", R"({"success":true,"result":{"request_times":3}})", false, true, 3},
      {"rounded", R"({"success":true,"result":{"request_times":2.6}})", false, true, 3},
      {"null", R"({"success":true,"result":{"request_times":null}})", false, true, 0},
      {"missing member", R"({"success":true,"result":{}})", false, true, 0},
      {"refusal", R"({"success":false,"error":{"code":"213","message":"m"}})", false, false, -1},
      {"text count", R"({"success":true,"result":{"request_times":"3"}})", true, false, -1},
      {"missing result", R"({"success":true})", true, false, -1},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    int count = 99;
    if (c.throws) {
      EXPECT_THROW(ReadOpenLocateResult(UrlEncode(c.json), count), ECallFailure);
    } else {
      EXPECT_EQ(ReadOpenLocateResult(UrlEncode(c.json), count).success, c.success);
    }
    EXPECT_EQ(count, c.count);
  }
}

TEST(ReadLocateStatusResult, ReadsLocateStatus) {
  int status = 99;
  EXPECT_TRUE(ReadLocateStatusResult(UrlEncode(R"({"success":true,"result":{"locate_status":1}})"), status).success);
  EXPECT_EQ(status, 1);
  const TMYResult refused =
      ReadLocateStatusResult(UrlEncode(R"({"success":false,"error":{"code":"9","message":"m","validates":{"p":["bad"]}}})"), status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(refused.detail, "\r\n\r\nbad");
}

TEST(JsonObject, ReadsScalarsWithTheValueRules) {
  const JsonObject o = JsonObject::Parse(
      R"({"i":7,"f":2.5,"neg":-2.5,"t":"x","n":null,"b":true,"big":12345678901,"len":9.6,"zero":0})");
  EXPECT_EQ(o.Int("i"), 7);
  EXPECT_EQ(o.Int("f"), 3);
  EXPECT_EQ(o.Int("neg"), -3);
  EXPECT_EQ(o.Int("n"), 0);
  EXPECT_EQ(o.Int("missing"), 0);
  EXPECT_EQ(o.Int("big"), 12345678901LL);
  EXPECT_DOUBLE_EQ(o.Float("f"), 2.5);
  EXPECT_DOUBLE_EQ(o.Float("i"), 7.0);
  EXPECT_EQ(o.Text("t"), "x");
  EXPECT_EQ(o.Text("n"), "");
  EXPECT_EQ(o.Text("missing"), "");
  EXPECT_FALSE(o.Bool("missing"));
  EXPECT_TRUE(o.Bool("b"));
  EXPECT_EQ(o.ScalarText("i"), "7");
  EXPECT_EQ(o.ScalarText("len"), "9.6");
  EXPECT_EQ(o.ScalarText("zero"), "0");
  EXPECT_EQ(o.ScalarText("n"), "");
  EXPECT_EQ(o.ScalarText("t"), "x");

  EXPECT_THROW(o.Text("i"), EBadAnswer);
  EXPECT_THROW(o.Int("t"), EBadAnswer);
  EXPECT_THROW(o.Int("b"), EBadAnswer);
  EXPECT_THROW(o.Bool("n"), EBadAnswer);
  EXPECT_THROW(o.Bool("i"), EBadAnswer);
  EXPECT_THROW(o.ScalarText("missing"), EBadAnswer);
  EXPECT_THROW(o.Object("t"), EBadAnswer);
  EXPECT_THROW(o.ObjectArray("i"), EBadAnswer);
}

}  // namespace
}  // namespace Korvane
