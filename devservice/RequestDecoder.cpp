#include "devservice/RequestDecoder.h"

#include <algorithm>
#include <cstdlib>

#include "Korvane/Codec.h"
#include "devservice/Clock.h"
#include "devservice/ErrorCodes.h"
#include "devservice/Validation.h"

namespace devservice {
namespace {

ServiceError Error(const char* code, std::string message) {
  return ServiceError{code, std::move(message), std::nullopt};
}

ServiceError Malformed(std::string detail) {
  return Error(codes::kMalformedParameters, "请求参数格式错误: " + detail);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Resolves "%XX"; keeps "+" and any "%" that does not start an escape.
std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexDigit(text[i + 1]);
      const int low = HexDigit(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Form decoding; a value that is not well-formed stays as sent and fails a later check.
std::string FormDecode(std::string_view text) {
  try {
    return Korvane::UrlDecode(text);
  } catch (const Korvane::EUrlDecode&) {
    return std::string(text);
  }
}

template <class Decode>
SignedFields SplitFields(std::string_view text, Decode decode) {
  SignedFields fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    const std::string_view name = pair.substr(0, equals);
    const std::string value =
        equals == std::string_view::npos ? std::string() : decode(pair.substr(equals + 1));
    if (name == "key" && !fields.key) fields.key = value;
    if (name == "parameters" && !fields.parameters) fields.parameters = value;
    if (name == "sign" && !fields.sign) fields.sign = value;
    start = end + 1;
  }
  return fields;
}

}  // namespace

SignedFields FieldsFromQuery(std::string_view query) { return SplitFields(query, PercentDecode); }

SignedFields FieldsFromForm(std::string_view body) { return SplitFields(body, FormDecode); }

void ParamList::add(std::string name, std::string value) {
  pairs_.emplace_back(std::move(name), std::move(value));
}

const std::string* ParamList::find(std::string_view name) const {
  const auto it = std::find_if(pairs_.begin(), pairs_.end(),
                               [&](const auto& pair) { return pair.first == name; });
  return it == pairs_.end() ? nullptr : &it->second;
}

std::string ParamList::value(std::string_view name) const {
  const std::string* found = find(name);
  return found != nullptr ? *found : std::string();
}

const std::string& ParamList::require(std::string_view name) const {
  const std::string* found = find(name);
  if (found == nullptr) throw MissingParameter(std::string(name));
  return *found;
}

std::string SignatureOf(std::string_view parameters) {
  std::string input(kApiKey);
  input += parameters;
  input += kApiSecret;
  return Korvane::EncodeParam(Korvane::MD5Hex(input));
}

std::variant<ParamList, ServiceError> DecodeParameters(std::string_view parameters) {
  std::string text;
  try {
    text = Korvane::Base64Decode(parameters);
  } catch (const std::invalid_argument&) {
    return Malformed("parameters不是有效的Base64文本");
  }
  ParamList params;
  if (text.empty()) return params;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    const std::string pair = text.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    if (equals == std::string::npos || equals == 0) return Malformed("参数对缺少名称或\"=\"");
    try {
      std::string name = Korvane::UrlDecode(pair.substr(0, equals));
      std::string value = Korvane::UrlDecode(pair.substr(equals + 1));
      if (!IsValidUtf8(name) || !IsValidUtf8(value)) return Malformed("参数不是UTF-8文本");
      params.add(std::move(name), std::move(value));
    } catch (const Korvane::EUrlDecode&) {
      return Malformed("参数的URL编码无效");
    }
    start = end + 1;
  }
  return params;
}

std::optional<ServiceError> CheckTimeStamp(const ParamList& params, std::time_t now) {
  const std::string* ts = params.find("ts");
  if (ts == nullptr) return Malformed("缺少时间戳ts");
  const std::optional<std::time_t> sent = ParseLocalTime(*ts);
  if (!sent) return Malformed("时间戳ts格式无效");
  if (std::llabs(static_cast<long long>(*sent - now)) > kTimeStampTolerance) {
    return Error(codes::kTimeStampOutOfRange,
                 "请求时间与服务器时间相差超过10分钟(服务器时间 " + FormatLocalTime(now) + ")");
  }
  return std::nullopt;
}

std::variant<ParamList, ServiceError> DecodeSignedRequest(const SignedFields& fields,
                                                          std::time_t now) {
  if (!fields.key || !fields.parameters || !fields.sign) {
    return Error(codes::kIncompleteRequest, "请求不完整,缺少key、parameters或sign");
  }
  if (*fields.key != kApiKey) return Error(codes::kUnknownKey, "无效的应用编号key");
  if (*fields.sign != SignatureOf(*fields.parameters)) {
    return Error(codes::kBadSignature, "签名验证失败");
  }
  auto decoded = DecodeParameters(*fields.parameters);
  if (auto* error = std::get_if<ServiceError>(&decoded)) return *error;
  if (auto error = CheckTimeStamp(std::get<ParamList>(decoded), now)) return *error;
  return decoded;
}

}  // namespace devservice
