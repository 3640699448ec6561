#include "devservice/AccountCalls.h"

#include <random>

#include "devservice/AreaTable.h"
#include "devservice/Clock.h"
#include "devservice/ErrorCodes.h"
#include "devservice/Validation.h"

namespace devservice {
namespace {

// A new company starts with a trial membership and a small balance.
constexpr std::time_t kTrialMembership = 30 * 24 * 3600;
constexpr std::int64_t kStartingBalanceFen = 1000;

std::string AreaName(const std::string& code) {
  const Area* area = FindArea(code);
  return area != nullptr ? area->name : std::string();
}

Json AccessAnswer(const std::string& token) {
  Json result = Json::object();
  result["company_name"] = "";
  result["account_balance"] = 0.0;
  result["rebate"] = 0;
  result["register_contact_number"] = "";
  result["token"] = token;
  result["is_partner"] = 0;
  result["partner_name"] = "";
  result["partner_contact_number"] = "";
  result["partner_address"] = "";
  result["partner_contact_person"] = "";
  result["partner_identification"] = "";
  result["current_city"] = "";
  result["seat_city"] = "";
  result["membership_use_deadline"] = "";
  return result;
}

std::string SixDigitCode() {
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> digit(0, 9);
  std::string code;
  for (int i = 0; i < 6; ++i) code += static_cast<char>('0' + digit(generator));
  return code;
}

Outcome VerifyUser(CallContext& call) {
  const std::string& login = call.params.require("login_name");
  const std::string& password = call.params.require("password");
  return call.storage.transact([&](Database& db) {
    const std::optional<Account> account = FindAccountForLogin(db, login);
    if (!account) return Outcome::Fail(codes::kUnknownAccount, "帐号不存在");
    if (account->password_hash != PasswordHash(account->login_name, password)) {
      return Outcome::Fail(codes::kWrongPassword, "密码错误");
    }
    if (!account->activated) {
      return Outcome::Fail(codes::kAccountNotActivated, "帐号尚未激活,请先到网站激活帐号");
    }
    const std::optional<Company> company = FindCompany(db, account->company_id);
    if (!company) return Outcome::Fail(codes::kUnknownAccount, "帐号不存在");
    const std::string token = IssueToken(db, company->id, call.now);
    return Outcome::Ok(CompanyAnswer(*company, token));
  });
}

void CheckRegistrationFields(const ParamList& params, Validates& refusals) {
  const std::string username = params.value("username");
  if (username.empty()) {
    refusals.add("username", "登录帐号不能为空");
  } else if (!IsLoginName(username)) {
    refusals.add("username", "登录帐号只能由汉字、字母、数字和下划线组成");
  } else if (username.size() > 32) {
    refusals.add("username", "登录帐号不能超过32个字节");
  }
  const std::string password = params.value("password");
  if (password.size() < 6) refusals.add("password", "密码不能少于6位");
  if (password.size() > 32) refusals.add("password", "密码不能超过32位");
  const std::string company = params.value("company");
  if (company.empty()) {
    refusals.add("company", "公司名称不能为空");
  } else if (HasIllegalChar(company)) {
    refusals.add("company", "公司名称不能包含特殊字符");
  } else if (CharacterCount(company) > 50) {
    refusals.add("company", "公司名称不能超过50个字");
  }
  if (!IsMobileNumber(params.value("contact_number"))) {
    refusals.add("contact_number", "手机号码无效");
  }
  const Area* seat = FindArea(params.value("seat"));
  if (seat == nullptr || !seat->isPlace()) refusals.add("seat", "所在地无效,请选择一个城市");
  if (params.value("captcha").empty()) refusals.add("captcha", "验证码不能为空");
}

void CheckRegistrationAgainstData(Database& db, const ParamList& params, std::time_t now,
                                  Validates& refusals) {
  const std::string username = params.value("username");
  const std::string contact = params.value("contact_number");
  if (!username.empty() && LoginNameTaken(db, username)) {
    refusals.add("username", "登录帐号已经注册");
  }
  if (FindCompanyByContact(db, contact)) refusals.add("contact_number", "该手机号码已经注册");
  const std::string captcha = params.value("captcha");
  if (!captcha.empty()) {
    const std::optional<Captcha> sent = FindCaptcha(db, contact);
    if (!sent || sent->code != captcha || now - sent->issued_at > kCaptchaLifetime) {
      refusals.add("captcha", "验证码错误或已过期");
    }
  }
}

Company NewCompany(const ParamList& params, std::time_t now) {
  Company company;
  company.name = params.value("company");
  company.contact_number = params.value("contact_number");
  company.balance_fen = kStartingBalanceFen;
  company.seat_code = params.value("seat");
  company.current_city = AreaName(company.seat_code);
  company.membership_deadline = FormatLocalTime(now + kTrialMembership);
  return company;
}

}  // namespace

Json CompanyAnswer(const Company& company, const std::string& token) {
  Json result = Json::object();
  result["company_name"] = company.name;
  result["account_balance"] = static_cast<double>(company.balance_fen) / 100.0;
  result["rebate"] = company.rebate;
  result["register_contact_number"] = company.contact_number;
  result["token"] = token;
  result["is_partner"] = company.is_partner ? 1 : 0;
  result["partner_name"] = company.partner_name;
  result["partner_contact_number"] = company.partner_contact_number;
  result["partner_address"] = company.partner_address;
  result["partner_contact_person"] = company.partner_contact_person;
  result["partner_identification"] = company.partner_identification;
  result["current_city"] = company.current_city;
  result["seat_city"] = AreaName(company.seat_code);
  result["membership_use_deadline"] = company.membership_deadline;
  return result;
}

Outcome Verify(CallContext& call) {
  const std::string& mode = call.params.require("verify_for");
  if (mode == "user") return VerifyUser(call);
  if (mode != "access") {
    return Outcome::Fail(codes::kUnknownVerifyMode, "无效的登录方式verify_for: " + mode);
  }
  return call.storage.transact([&](Database& db) {
    return Outcome::Ok(AccessAnswer(IssueToken(db, std::nullopt, call.now)));
  });
}

Outcome RequestCaptcha(CallContext& call) {
  const std::string& number = call.params.require("register_contact_number");
  if (!IsMobileNumber(number)) {
    Validates refusals;
    refusals.add("register_contact_number", "手机号码无效");
    return Outcome::Refuse(std::move(refusals));
  }
  return call.storage.transact([&](Database& db) {
    if (const std::optional<Company> owner = FindCompanyByContact(db, number)) {
      const std::optional<Account> account = FindAccountOfCompany(db, owner->id);
      if (account && !account->activated) {
        return Outcome::Fail(codes::kContactNotActivated, "该手机号码已注册但帐号尚未激活");
      }
      Validates refusals;
      refusals.add("register_contact_number", "该手机号码已经注册");
      return Outcome::Refuse(std::move(refusals));
    }
    const std::optional<Captcha> previous = FindCaptcha(db, number);
    if (previous && call.now - previous->issued_at < kCaptchaInterval) {
      return Outcome::Fail(codes::kTooFrequent, "验证码已发送,请60秒后再试");
    }
    const std::string code = SixDigitCode();
    SaveCaptcha(db, number, code, call.now);
    call.console.line("[短信] 发送至 " + number + ": 您的验证码是 " + code + ",10分钟内有效");
    Json result = Json::object();
    result["register_contact_number"] = number;
    return Outcome::Ok(std::move(result));
  });
}

Outcome RegisterUser(CallContext& call) {
  Validates refusals;
  CheckRegistrationFields(call.params, refusals);
  return call.storage.transact([&](Database& db) {
    CheckRegistrationAgainstData(db, call.params, call.now, refusals);
    if (!refusals.empty()) return Outcome::Refuse(refusals);
    const std::string username = call.params.value("username");
    const Company company = NewCompany(call.params, call.now);
    const std::int64_t id = InsertCompany(db, company);
    InsertAccount(db, id, username, call.params.value("password"), false);
    DeleteCaptcha(db, company.contact_number);
    call.console.line("[注册] 新帐号 " + username + " (" + company.contact_number +
                      ") 已注册,等待激活");
    Json result = Json::object();
    result["username"] = username;
    return Outcome::Ok(std::move(result));
  });
}

}  // namespace devservice
