// Builds, signs and sends every service request, reads the answer envelope and turns every
// outcome, each transport failure included, into a TMYResult. No call throws to its caller.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "Korvane/TMYResult.h"

namespace Korvane {

// name=value texts in the caller's order; values are plain, unescaped text.
using ParamList = std::vector<std::string>;

inline constexpr const char* kApiKey = "62937";
inline constexpr const char* kApiSecret = "Qm5wUjd6Vk1kYTRoTXBXcTJnTnNFeUs4Ym9MdkFyQ2k=";

// The local clock used for the time stamp; tests fix it. An empty clock is the system clock.
using Clock = std::function<std::chrono::system_clock::time_point()>;
void SetClock(Clock clock);
std::chrono::system_clock::time_point Now();

// The parameter text "ts=<now>&p1&...&pn" encoded for `parameters`: every name and value
// URL-encoded, the separators between them bare, then Base64.
std::string EncodeParameters(const ParamList& list);

// "key=62937", "parameters=...", "sign=..." for the list, stamped with Now().
ParamList SignParams(const ParamList& list);

// ApiBaseUrl() + path + "?" + the signed fields joined by "&".
std::string BuildApiUrl(const std::string& path, const ParamList& list);

enum class HttpMethod { Get, Post };

// How one typed call is sent and how its failures are reported.
struct CallSpec {
  std::string path;            // "/car/list"
  HttpMethod method = HttpMethod::Get;
  std::string prefix;          // operation prefix of the log line, "获取车辆列表异常 - "
  bool socketErrorIsNetwork = false;  // socket-level errors give "002" (account calls) not "000"
};

// Reads an answer body into the call's result; throws ECallFailure kinds on what it cannot read.
using AnswerReader = std::function<TMYResult(const std::string& body)>;

// Sends the list as `call` says, reads the body with `read`, and turns every failure into
// a FailureResult after writing one log line.
TMYResult RunCall(const CallSpec& call, const ParamList& list, const AnswerReader& read);

// The answer readers of the URL-decoded envelopes.
TMYResult ReadResult(const std::string& body);
TMYResult ReadOpenLocateResult(const std::string& body, int& request_times);
TMYResult ReadLocateStatusResult(const std::string& body, int& locate_status);

// An envelope already parsed: `success`, then on failure error.code, error.message and, with
// `withValidates`, error.validates joined into `detail`. Calls that read their answer
// themselves read it without validates.
class JsonObject;
TMYResult ReadEnvelope(const JsonObject& answer, bool withValidates);

// Network repair: runs the system's DNS flush hidden and waits for it.
int RunHidden(const std::string& commandLine);
void RepairNetwork();

}  // namespace Korvane
