// The account calls: sign-in, verification code, registration, and portal addresses.
#pragma once

#include <string>

#include "Korvane/Session.h"
#include "Korvane/TMYResult.h"

namespace Korvane {

enum class VerifyMode { User, Access };

// Signs in (User) or opens an anonymous session for registration (Access, name and password
// not sent and kept empty). A success makes a new Company.
TMYResult Verify(VerifyMode mode, const std::string& login_name, const std::string& password);

// Asks the service to send a verification code to the mobile number. "002" without a session.
TMYResult RequestCaptcha(const std::string& contact_number);

// Registers a new company. "002" without a session.
TMYResult RegisterUser(const std::string& username, const std::string& password,
                       const std::string& company, const std::string& contact_number,
                       const std::string& captcha, const std::string& seat);

// The token sign-in address of a portal page; either argument may be empty.
std::string PortalUrl(const std::string& url_for, const std::string& plate_number);

}  // namespace Korvane
