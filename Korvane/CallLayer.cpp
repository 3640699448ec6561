#include "Korvane/CallLayer.h"

#include <climits>
#include <mutex>

#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Deployment.h"
#include "Korvane/Failures.h"
#include "Korvane/HttpClient.h"
#include "Korvane/JsonReader.h"
#include "uLogger/uLogger.h"

namespace Korvane {
namespace {

std::mutex clockLock;
Clock clock;

// "name=value" with the name and the value URL-encoded on their own, so that an "=" or "&"
// inside a value stays %3D / %26 and cannot pass for a separator.
std::string EncodePair(const std::string& pair) {
  const std::size_t equals = pair.find('=');
  if (equals == std::string::npos) return UrlEncode(pair);
  return UrlEncode(std::string_view(pair).substr(0, equals)) + "=" +
         UrlEncode(std::string_view(pair).substr(equals + 1));
}

std::string JoinFields(const ParamList& fields, const std::function<std::string(const std::string&)>& form) {
  std::string joined;
  for (const std::string& field : fields) {
    if (!joined.empty()) joined += '&';
    joined += form(field);
  }
  return joined;
}

// The signed fields as a form body: each value in the HTTP client's form encoding.
std::string FormBody(const ParamList& signedFields) {
  return JoinFields(signedFields, [](const std::string& field) {
    const std::size_t equals = field.find('=');
    return field.substr(0, equals) + "=" + FormEncode(std::string_view(field).substr(equals + 1));
  });
}

std::string SendRequest(const CallSpec& call, const ParamList& list) {
  if (call.method == HttpMethod::Post) {
    return Http::PostForm(ApiBaseUrl() + call.path, FormBody(SignParams(list)));
  }
  return Http::Get(BuildApiUrl(call.path, list));
}

void LogFailure(const std::string& prefix, const std::string& kind, const std::string& text) {
  LogError(prefix + kind + " error raised, with message : " + text);
}

constexpr const char* kRequestPrefix = "请求服务器异常 - ";

JsonObject ParseUrlDecoded(const std::string& body) {
  std::string decoded;
  try {
    decoded = UrlDecode(body);
  } catch (const EUrlDecode& e) {
    throw EBadEncoding(e.what());
  }
  return JsonObject::Parse(decoded);
}

}  // namespace

TMYResult ReadEnvelope(const JsonObject& answer, bool withValidates) {
  TMYResult result;
  result.success = answer.Bool("success");
  if (result.success) return result;
  const JsonObject error = answer.Object("error");
  result.code = error.Text("code");
  result.message = error.Text("message");
  if (withValidates && error.Has("validates")) {
    result.detail = "\r\n";
    for (const std::string& message : error.TextsOfObject("validates")) result.detail += "\r\n" + message;
  }
  return result;
}

namespace {

int ClampToInt(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The URL-decoded envelope, and on success one integer of `result`.
TMYResult ReadResultWithCount(const std::string& body, const char* member, int& out) {
  out = -1;
  const JsonObject answer = ParseUrlDecoded(body);
  TMYResult result = ReadEnvelope(answer, true);
  if (result.success) out = ClampToInt(answer.Object("result").Int(member));
  return result;
}

}  // namespace

void SetClock(Clock newClock) {
  std::lock_guard guard(clockLock);
  clock = std::move(newClock);
}

std::chrono::system_clock::time_point Now() {
  Clock current;
  {
    std::lock_guard guard(clockLock);
    current = clock;
  }
  return current ? current() : std::chrono::system_clock::now();
}

std::string EncodeParameters(const ParamList& list) {
  std::string text = "ts=" + UrlEncode(FormatDateTime(Now()));
  for (const std::string& pair : list) text += "&" + EncodePair(pair);
  return Base64Encode(text);
}

ParamList SignParams(const ParamList& list) {
  const std::string parameters = EncodeParameters(list);
  const std::string digest = MD5Hex(std::string(kApiKey) + parameters + kApiSecret);
  return {std::string("key=") + kApiKey, "parameters=" + parameters, "sign=" + EncodeParam(digest)};
}

std::string BuildApiUrl(const std::string& path, const ParamList& list) {
  return ApiBaseUrl() + path + "?" + JoinFields(SignParams(list), [](const std::string& f) { return f; });
}

TMYResult RunCall(const CallSpec& call, const ParamList& list, const AnswerReader& read) {
  try {
    return read(SendRequest(call, list));
  } catch (const EReadTimeout& e) {
    LogFailure(kRequestPrefix, e.kind(), e.what());
    return FailureResult("001");
  } catch (const ESocketError& e) {
    LogFailure(call.socketErrorIsNetwork ? kRequestPrefix : call.prefix, e.kind(), e.what());
    return FailureResult(call.socketErrorIsNetwork ? "002" : "000");
  } catch (const ECallFailure& e) {
    LogFailure(call.prefix, e.kind(), e.what());
  } catch (const std::exception& e) {
    LogFailure(call.prefix, "Exception", e.what());
  } catch (...) {
    LogFailure(call.prefix, "Exception", "unknown failure");
  }
  return FailureResult("000");
}

TMYResult ReadResult(const std::string& body) { return ReadEnvelope(ParseUrlDecoded(body), true); }

TMYResult ReadOpenLocateResult(const std::string& body, int& request_times) {
  return ReadResultWithCount(body, "request_times", request_times);
}

TMYResult ReadLocateStatusResult(const std::string& body, int& locate_status) {
  return ReadResultWithCount(body, "locate_status", locate_status);
}

int RunHidden(const std::string& commandLine) { return platform::RunHidden(commandLine); }

void RepairNetwork() { RunHidden(platform::FlushDnsCommand()); }

}  // namespace Korvane
