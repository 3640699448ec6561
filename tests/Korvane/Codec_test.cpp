#include "Korvane/Codec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace Korvane {
namespace {

TEST(MD5Hex, MatchesTheRfc1321TestSuite) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, digest] : cases) EXPECT_EQ(MD5Hex(input), digest) << '"' << input << '"';
}

TEST(MD5Hex, HandlesInputsAroundTheBlockBoundaries) {
  // 55, 56 and 64 bytes put the length field into the same block, the next one, or a block
  // of its own; digests computed independently.
  EXPECT_EQ(MD5Hex(std::string(55, 'x')), "04364420e25c512fd958a70738aa8f72");
  EXPECT_EQ(MD5Hex(std::string(56, 'x')), "668a72d5ba17f08e62dabcafad6db14b");
  EXPECT_EQ(MD5Hex(std::string(64, 'x')), "c1bb4f81d892b2d57947682aeb252456");
}

TEST(Base64, MatchesTheRfc4648VectorsWithStarForSlash) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},       {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
      {"\xfb\xff\xbf", "+*+*"},  // standard Base64: "+/+/"
      {"\xff\xff\xff", "****"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Base64Encode(bytes), text);
    EXPECT_EQ(Base64Decode(text), bytes);
  }
}

TEST(Base64, RoundTripsEveryByteValueAtEveryLengthModuloThree) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (std::size_t cut = 0; cut < 3; ++cut) {
    const std::string bytes = all.substr(cut);
    const std::string text = Base64Encode(bytes);
    EXPECT_EQ(text.find('/'), std::string::npos);
    EXPECT_EQ(Base64Decode(text), bytes);
  }
}

TEST(Base64, DecodeRefusesTextThatIsNotItsBase64) {
  for (const char* text : {"Zg=", "Zm9v/g==", "Zg==Zg==", "Z===", "Zm=v", "Zm9\n"}) {
    EXPECT_THROW(Base64Decode(text), std::invalid_argument) << text;
  }
}

TEST(UrlEncode, KeepsItsSafeSetAndEncodesEveryOtherByteInUppercase) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"AZaz09!$'()*-.@_", "AZaz09!$'()*-.@_"},
      {" ", "+"},
      {"+", "%2B"},
      {"%", "%25"},
      {"&=", "%26%3D"},
      {"京A12345", "%E4%BA%ACA12345"},
      {"~#/:?\t", "%7E%23%2F%3A%3F%09"},
      {std::string("\0", 1), "%00"},
  };
  for (const auto& [text, encoded] : cases) EXPECT_EQ(UrlEncode(text), encoded) << text;
}

TEST(EncodeParam, EncodesThenRestoresSeparatorsThenBase64) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" ", "+"},
      {"+", "%2B"},
      {"京A12345", "%E4%BA%ACA12345"},
      {"%", "%25"},
      {"&", "&"},
      {"=", "="},
      {"a=b&c", "a=b&c"},
      {"", ""},
  };
  for (const auto& [text, afterRestoring] : cases) {
    EXPECT_EQ(EncodeParam(text), Base64Encode(afterRestoring)) << text;
  }
}

TEST(EncodeParam, CanKeepSeparatorsEncoded) {
  EXPECT_EQ(EncodeParam("ab&c=d", false), Base64Encode("ab%26c%3Dd"));
}

TEST(FormEncode, KeepsOnlyTheFormSafeSet) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Zm9v+*=", "Zm9v%2B*%3D"},
      {"a b", "a+b"},
      {"-._*", "-._*"},
      {"!$'()@", "%21%24%27%28%29%40"},
      {"京", "%E4%BA%AC"},
  };
  for (const auto& [text, encoded] : cases) EXPECT_EQ(FormEncode(text), encoded) << text;
}

TEST(UrlDecode, DecodesPlusDoublePercentAndHexInEitherCase) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a+b", "a b"},
      {"100%%", "100%"},
      {"%E4%ba%AC", "京"},
      {"%7b%22a%22%3A1%7D", "{\"a\":1}"},
      {"", ""},
  };
  for (const auto& [text, decoded] : cases) EXPECT_EQ(UrlDecode(text), decoded) << text;
}

TEST(UrlDecode, RefusesAPercentWithoutTwoHexDigits) {
  for (const char* text : {"%", "50%", "%4", "%G1", "%1G", "a%zzb", "%%%"}) {
    EXPECT_THROW(UrlDecode(text), EUrlDecode) << text;
  }
}

}  // namespace
}  // namespace Korvane
