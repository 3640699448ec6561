#include "devservice/DevCalls.h"

#include <charconv>

#include "devservice/Companies.h"
#include "devservice/Envelope.h"
#include "devservice/ErrorCodes.h"
#include "devservice/LocateCalls.h"
#include "devservice/Vehicles.h"

namespace devservice {
namespace {

constexpr const char* kNotFound = "120";

HttpAnswer Answer(const Outcome& outcome, int status = 200) {
  HttpAnswer answer;
  answer.status = outcome.ok() ? 200 : status;
  answer.body = AnswerBody(outcome, AnswerMode::Plain);
  return answer;
}

HttpAnswer MissingField(const char* name) {
  return Answer(Outcome::Fail(codes::kMissingParameter, std::string("缺少参数: ") + name), 400);
}

std::optional<std::time_t> Seconds(const std::string& text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  return static_cast<std::time_t>(value);
}

bool BelongsTo(Database& db, const Vehicle& vehicle, const std::string& company) {
  const std::optional<Company> owner = FindCompany(db, vehicle.company_id);
  if (owner && owner->contact_number == company) return true;
  const std::optional<Account> account = FindAccountOfCompany(db, vehicle.company_id);
  return account && account->login_name == company;
}

}  // namespace

HttpAnswer DevCaptcha(Storage& storage, const FormFields& fields) {
  const std::string number = fields.value("contact_number");
  if (number.empty()) return MissingField("contact_number");
  const auto captcha = storage.transact([&](Database& db) { return FindCaptcha(db, number); });
  if (!captcha) return Answer(Outcome::Fail(kNotFound, "没有发送给该号码的验证码"), 404);
  Json result = Json::object();
  result["contact_number"] = number;
  result["captcha"] = captcha->code;
  result["issued_at"] = FormatLocalTime(captcha->issued_at);
  return Answer(Outcome::Ok(std::move(result)));
}

HttpAnswer DevAuthorise(Storage& storage, Console& console, const FormFields& fields) {
  const std::string plate = fields.value("plate_number");
  if (plate.empty()) return MissingField("plate_number");
  const std::string company = fields.value("company");
  const Outcome outcome = storage.transact([&](Database& db) {
    const std::optional<Vehicle> vehicle = FindVehicleByPlate(db, plate);
    if (!vehicle || (!company.empty() && !BelongsTo(db, *vehicle, company))) {
      return Outcome::Fail(codes::kVehicleNotFound, "车辆不存在: " + plate);
    }
    AuthoriseLocating(db, console, vehicle->id, plate);
    Json result = Json::object();
    result["plate_number"] = plate;
    result["locate_status"] = 1;
    return Outcome::Ok(std::move(result));
  });
  return Answer(outcome, 404);
}

HttpAnswer DevActivate(Storage& storage, Console& console, const FormFields& fields) {
  const std::string login = fields.value("login_name");
  if (login.empty()) return MissingField("login_name");
  const bool activated = storage.transact([&](Database& db) { return ActivateAccount(db, login); });
  if (!activated) return Answer(Outcome::Fail(kNotFound, "帐号不存在: " + login), 404);
  console.line("[激活] 帐号 " + login + " 已激活");
  Json result = Json::object();
  result["login_name"] = login;
  result["activated"] = 1;
  return Answer(Outcome::Ok(std::move(result)));
}

HttpAnswer DevClock(ServiceClock& clock, const FormFields& fields) {
  const char* names[] = {"offset", "advance", "freeze"};
  for (const char* name : names) {
    if (!fields.has(name)) continue;
    const std::optional<std::time_t> seconds = Seconds(fields.value(name));
    if (!seconds) {
      return Answer(Outcome::Fail(codes::kMalformedParameters,
                                  std::string(name) + "必须是整数秒"), 400);
    }
    if (std::string_view(name) == "offset") clock.setOffset(*seconds);
    if (std::string_view(name) == "advance") clock.advance(*seconds);
    if (std::string_view(name) == "freeze") clock.freezeAt(*seconds);
  }
  if (fields.has("reset")) clock.reset();
  const std::time_t now = clock.now();
  Json result = Json::object();
  result["now"] = FormatLocalTime(now);
  result["epoch"] = static_cast<long long>(now);
  return Answer(Outcome::Ok(std::move(result)));
}

HttpAnswer DevConsole(const Console& console) {
  Json result = Json::object();
  result["lines"] = console.lines();
  return Answer(Outcome::Ok(std::move(result)));
}

}  // namespace devservice
