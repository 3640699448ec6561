// "/user/verify", "/user/captcha" and "/user/register".
#pragma once

#include "devservice/Calls.h"

namespace devservice {

// Signs a company in (verify_for=user) or opens an access session (verify_for=access).
Outcome Verify(CallContext& call);
// "Sends" a verification code to register_contact_number (it goes to the console).
Outcome RequestCaptcha(CallContext& call);
// Registers a new company with an account that still has to be activated.
Outcome RegisterUser(CallContext& call);

// The members of the sign-in answer for a company (also used by the portal pages).
Json CompanyAnswer(const Company& company, const std::string& token);

// Seconds a verification code stays valid, and the least seconds between two codes.
inline constexpr std::time_t kCaptchaLifetime = 600;
inline constexpr std::time_t kCaptchaInterval = 60;

}  // namespace devservice
