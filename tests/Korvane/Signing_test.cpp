#include <gtest/gtest.h>

#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Deployment.h"
#include "platform/platform.h"

namespace Korvane {
namespace {

std::chrono::system_clock::time_point LocalTimeOf(int y, int mo, int d, int h, int mi, int s) {
  platform::LocalTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  return platform::FromLocalTime(t);
}

class Signing : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApiBaseUrl("http://api.example.test");
    At(14, 3, 9);
  }
  void TearDown() override {
    SetClock({});
    SetApiBaseUrl(kDefaultServiceUrl);
  }
  void At(int h, int mi, int s) {
    const auto when = LocalTimeOf(2016, 8, 25, h, mi, s);
    SetClock([when] { return when; });
  }
  const ParamList pages{"page_no=1", "page_size=999"};
};

TEST_F(Signing, ReproducesTheWorkedExampleByteForByte) {
  const std::string parameters = "dHM9MjAxNi0wOC0yNSsxNCUzQTAzJTNBMDkmcGFnZV9ubz0xJnBhZ2Vfc2l6ZT05OTk=";
  EXPECT_EQ(FormatDateTime(Now()), "2016-08-25 14:03:09");
  EXPECT_EQ(Base64Decode(parameters), "ts=2016-08-25+14%3A03%3A09&page_no=1&page_size=999");
  EXPECT_EQ(EncodeParameters(pages), parameters);
  EXPECT_EQ(EncodeParam("ts=2016-08-25 14:03:09&page_no=1&page_size=999"), parameters);

  const std::string digest = MD5Hex(std::string("62937") + parameters + "Qm5wUjd6Vk1kYTRoTXBXcTJnTnNFeUs4Ym9MdkFyQ2k=");
  EXPECT_EQ(digest, "b850bbad3489a5bfec034298361906c7");
  const std::string sign = "Yjg1MGJiYWQzNDg5YTViZmVjMDM0Mjk4MzYxOTA2Yzc=";
  EXPECT_EQ(sign.size(), 44u);

  EXPECT_EQ(SignParams(pages), (ParamList{"key=62937", "parameters=" + parameters, "sign=" + sign}));
  EXPECT_EQ(BuildApiUrl("/car/list", pages),
            "http://api.example.test/car/list?key=62937&parameters=" + parameters + "&sign=" + sign);
}

TEST_F(Signing, TheSameSecondGivesTheSameUrlAndTheNextSecondAnother) {
  const std::string first = BuildApiUrl("/car/list", pages);
  EXPECT_EQ(BuildApiUrl("/car/list", pages), first);
  At(14, 3, 10);
  const ParamList later = SignParams(pages);
  EXPECT_EQ(later[1], "parameters=dHM9MjAxNi0wOC0yNSsxNCUzQTAzJTNBMTAmcGFnZV9ubz0xJnBhZ2Vfc2l6ZT05OTk=");
  EXPECT_EQ(later[2], "sign=ZDYxZjI1MWMzN2NkNjhlODE3ZTc4MTdlYWFkYjE1MWQ=");
  EXPECT_NE(BuildApiUrl("/car/list", pages), first);
}

TEST_F(Signing, ValuesKeepTheirOrderBlanksAndEncodings) {
  struct Case {
    ParamList list;
    std::string parameterText;  // after URL encoding, before Base64
  };
  const std::vector<Case> cases = {
      {{"login_name= a b ", "password=x"}, "&login_name=+a+b+&password=x"},
      {{"password=a+b"}, "&password=a%2Bb"},
      {{"plate_number=京A12345"}, "&plate_number=%E4%BA%ACA12345"},
      // An "&" or "=" inside a value stays encoded; only separators are bare.
      {{"password=ab&c=d", "login_name=u"}, "&password=ab%26c%3Dd&login_name=u"},
      {{"description=50%"}, "&description=50%25"},
      {{"verify_for=access"}, "&verify_for=access"},
      {{"description="}, "&description="},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Base64Decode(EncodeParameters(c.list)), "ts=2016-08-25+14%3A03%3A09" + c.parameterText);
  }
}

TEST(FailureResult, CarriesTheFixedMessageOfEachCode) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"000", "网络连接失败"}, {"001", "网络连接超时"}, {"002", "网络连接异常"}, {"107", "网络连接异常"}};
  for (const auto& [code, message] : cases) {
    const TMYResult r = FailureResult(code);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.code, code);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(r.detail, "");
  }
}

}  // namespace
}  // namespace Korvane
