// The operator of the service as the login window names it: the company and its customer
// service, duty and QQ numbers. Deployment settings, compiled in.
#pragma once

namespace login {

inline constexpr const char* kOperatorName = "科瓦内车联网络科技有限公司";
inline constexpr const char* kServicePhone = "400-826-6610";
inline constexpr const char* kServiceQQ = "800066100";
inline constexpr const char* kDutyPhone = "0571-86610099";

}  // namespace login
