// The service's customer-service numbers that the fleet window names in its texts.
#pragma once

namespace fleet {

inline constexpr const char* kServicePhone = "400-826-6610";
inline constexpr const char* kServiceQQ = "800066100";
inline constexpr const char* kDutyPhone = "0571-86610099";

}  // namespace fleet
