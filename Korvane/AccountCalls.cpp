#include "Korvane/AccountCalls.h"

#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Deployment.h"
#include "Korvane/Failures.h"
#include "Korvane/JsonReader.h"

namespace Korvane {
namespace {

const CallSpec kVerify{"/user/verify", HttpMethod::Get, "登录异常 - ", true};
const CallSpec kCaptcha{"/user/captcha", HttpMethod::Get, "获取验证码异常 - ", true};
const CallSpec kRegister{"/user/register", HttpMethod::Post, "注册异常 - ", true};

bool IsMembershipValid(const std::string& deadline) {
  if (deadline.empty()) return false;
  const auto end = ParseDateTime(deadline);
  if (!end) throw EBadAnswer("'" + deadline + "' is not a valid date and time");
  return NotLaterThan(platform::ToLocalTime(Now()), *end);
}

// Fills the record in the order the answer is read; stops at the first member it cannot read.
void FillCompany(TCompany& company, const JsonObject& result, const std::string& login_name,
                 const std::string& password) {
  company.company_name = result.Text("company_name");
  company.account_balance = result.Float("account_balance");
  company.rebate = static_cast<int>(result.Int("rebate"));
  company.register_contact_number = result.Text("register_contact_number");
  company.token = result.Text("token");
  company.login_name = login_name;
  company.password = password;
  company.is_partner = result.Int("is_partner") != 0;
  company.partner_name = result.Text("partner_name");
  company.partner_contact_number = result.Text("partner_contact_number");
  company.partner_address = result.Text("partner_address");
  company.partner_contact_person = result.Text("partner_contact_person");
  company.partner_identification = result.Text("partner_identification");
  company.current_city = result.Text("current_city");
  company.seat_city = result.Text("seat_city");
  company.membership_use_deadline = result.Text("membership_use_deadline");
  company.membership_valid = IsMembershipValid(company.membership_use_deadline);
}

TMYResult ReadVerifyAnswer(const std::string& body, const std::string& login_name,
                           const std::string& password) {
  const JsonObject answer = JsonObject::Parse(body);
  TMYResult result = ReadEnvelope(answer, false);
  if (!result.success) return result;
  const JsonObject fields = answer.Object("result");
  // The new record becomes the session even when a later member cannot be read.
  auto company = std::make_shared<TCompany>();
  try {
    FillCompany(*company, fields, login_name, password);
  } catch (...) {
    SetCompany(company);
    throw;
  }
  SetCompany(company);
  return result;
}

}  // namespace

TMYResult Verify(VerifyMode mode, const std::string& login_name, const std::string& password) {
  const bool user = mode == VerifyMode::User;
  const ParamList list = user ? ParamList{"verify_for=user", "login_name=" + login_name, "password=" + password}
                              : ParamList{"verify_for=access"};
  const std::string keptName = user ? login_name : std::string();
  const std::string keptPassword = user ? password : std::string();
  return RunCall(kVerify, list, [&](const std::string& body) {
    return ReadVerifyAnswer(body, keptName, keptPassword);
  });
}

TMYResult RequestCaptcha(const std::string& contact_number) {
  const auto company = Company();
  if (!company) return FailureResult("002");
  return RunCall(kCaptcha, {"token=" + company->token, "register_contact_number=" + contact_number},
                 ReadResult);
}

TMYResult RegisterUser(const std::string& username, const std::string& password,
                       const std::string& company, const std::string& contact_number,
                       const std::string& captcha, const std::string& seat) {
  const auto session = Company();
  if (!session) return FailureResult("002");
  return RunCall(kRegister,
                 {"token=" + session->token, "username=" + username, "password=" + password,
                  "company=" + company, "contact_number=" + contact_number, "captcha=" + captcha,
                  "seat=" + seat},
                 ReadResult);
}

std::string PortalUrl(const std::string& url_for, const std::string& plate_number) {
  std::string url = PortalBaseUrl() + "/user/login_by_api?token=" + SessionToken();
  if (!url_for.empty()) {
    url += "&url_for=" + url_for;
    if (url_for == "cars_orbit_view" || url_for == "services_verify") url += "&client_for_windows=1";
  }
  if (!plate_number.empty()) url += "&plate_number=" + UrlEncode(plate_number);
  return url;
}

}  // namespace Korvane
