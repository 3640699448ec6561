// Deployment settings: where the service, its web portal and the update server are.
// Compiled-in defaults point at the local development service; start-up may override them.
#pragma once

#include <string>

namespace Korvane {

inline constexpr const char* kDefaultServiceUrl = "http://127.0.0.1:8610";

// The operator of the service and its customer-service numbers, as the windows name them.
inline constexpr const char* kOperatorName = "科瓦内车联网络科技有限公司";
inline constexpr const char* kServicePhone = "400-826-6610";
inline constexpr const char* kServiceQQ = "800066100";
inline constexpr const char* kDutyPhone = "0571-86610099";

// Scheme and host, no trailing slash. Thread-safe.
std::string ApiBaseUrl();
void SetApiBaseUrl(const std::string& url);
std::string PortalBaseUrl();
void SetPortalBaseUrl(const std::string& url);
std::string UpdateBaseUrl();
void SetUpdateBaseUrl(const std::string& url);

}  // namespace Korvane
