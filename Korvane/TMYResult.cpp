#include "Korvane/TMYResult.h"

namespace Korvane {

TMYResult FailureResult(const std::string& code) {
  TMYResult result;
  result.success = false;
  result.code = code;
  if (code == "000") {
    result.message = "网络连接失败";
  } else if (code == "001") {
    result.message = "网络连接超时";
  } else {
    result.message = "网络连接异常";
  }
  return result;
}

}  // namespace Korvane
