// The result of every service call.
#pragma once

#include <string>

namespace Korvane {

class TMYResult {
 public:
  bool success = false;
  std::string code;     // the service's error.code, or "000", "001", "002"; empty on success
  std::string message;  // the service's error.message, or the fixed text of a client code
  std::string detail;   // validation messages of a refusal, or LocateCar's new position
};

// A client-side failure: "000" "网络连接失败", "001" "网络连接超时", other "网络连接异常".
TMYResult FailureResult(const std::string& code);

}  // namespace Korvane
