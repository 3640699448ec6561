#include "devservice/LocateCalls.h"

#include "devservice/Clock.h"
#include "devservice/ErrorCodes.h"
#include "devservice/Movement.h"
#include "devservice/Tracks.h"
#include "devservice/Vehicles.h"

namespace devservice {
namespace {

Outcome VehicleNotFound(const std::string& plate) {
  return Outcome::Fail(codes::kVehicleNotFound, "车辆不存在: " + plate);
}

// Moves the vehicle to its next place and records it; returns the new location text.
std::string MoveVehicle(Database& db, const Vehicle& vehicle, std::time_t now) {
  const std::uint64_t step = static_cast<std::uint64_t>(CountPositions(db, vehicle.id));
  const Area& place =
      NextPlace(vehicle.position_code, vehicle.data.expected_flow, vehicle.data.plate_number, step);
  const std::string location = LocationText(place);
  SetPosition(db, vehicle.id, place.code, location, now);
  RecordPosition(db, vehicle.id, place.code, location, now);
  return location;
}

std::int64_t ChargeLocate(Database& db, const Company& company, const std::string& plate,
                    std::int64_t price, std::time_t now) {
  const std::int64_t balance = company.balance_fen - price;
  SetBalance(db, company.id, balance);
  RecordCharge(db, company.id, {plate, price, balance, now});
  return balance;
}

std::string AuthorisationSms(const Company& company, const Vehicle& vehicle) {
  return "[短信] 发送至 " + vehicle.data.locate_number + ": " + company.name + "申请通过手机定位车辆" +
         vehicle.data.plate_number + ",同意请回复Y";
}

}  // namespace

bool MembershipValid(const std::string& deadline, std::time_t now) {
  std::optional<std::time_t> end = ParseLocalTime(deadline);
  if (!end && deadline.size() == 10) end = ParseLocalTime(deadline + " 23:59:59");
  return end && now <= *end;
}

void OpenDueAuthorisations(Database& db, Console& console, std::time_t now) {
  for (const std::string& plate : ApplyDueAuthorisations(db, now)) {
    console.line("[授权] 司机已回复Y(自动): " + plate + " 定位已开通");
  }
}

void AuthoriseLocating(Database& db, Console& console, std::int64_t vehicle_id,
                       const std::string& plate_number) {
  OpenLocating(db, vehicle_id);
  console.line("[授权] 司机已回复Y: " + plate_number + " 定位已开通");
}

Outcome LocateCar(CallContext& call) {
  const std::string& plate = call.params.require("plate_number");
  return call.storage.transact([&](Database& db) {
    OpenDueAuthorisations(db, call.console, call.now);
    const std::optional<Vehicle> vehicle = FindVehicle(db, call.company->id, plate);
    if (!vehicle) return VehicleNotFound(plate);
    if (vehicle->locate_status != 1) {
      return Outcome::Fail(codes::kLocatingNotOpened, "车辆尚未开通定位,请先开通定位");
    }
    const std::optional<Company> company = FindCompany(db, call.company->id);
    if (!MembershipValid(company->membership_deadline, call.now)) {
      return Outcome::Fail(codes::kMembershipExpired, "会员已过期,请续费后再定位");
    }
    const std::int64_t price = call.options.locate_price_fen;
    if (company->balance_fen < price) {
      return Outcome::Fail(codes::kBalanceTooLow, "账户余额不足,请充值");
    }
    const std::string location = MoveVehicle(db, *vehicle, call.now);
    const std::int64_t balance = ChargeLocate(db, *company, plate, price, call.now);
    Json result = Json::object();
    result["location"] = location;
    result["account_balance"] = static_cast<double>(balance) / 100.0;
    return Outcome::Ok(std::move(result));
  });
}

Outcome OpenLocate(CallContext& call) {
  const std::string& plate = call.params.require("plate_number");
  return call.storage.transact([&](Database& db) {
    OpenDueAuthorisations(db, call.console, call.now);
    const std::optional<Vehicle> vehicle = FindVehicle(db, call.company->id, plate);
    if (!vehicle) return VehicleNotFound(plate);
    if (vehicle->locate_status == 1) {
      return Outcome::Fail(codes::kAlreadyOpened, "该车辆已经开通定位");
    }
    const std::int64_t today = CountOpenRequestsOnDay(db, vehicle->id, call.now);
    const int limit = call.options.open_locate_daily_limit;
    if (today >= limit) {
      return Outcome::Fail(codes::kDailyLimit,
                           "该车辆今天已发送" + std::to_string(limit) + "次开通定位请求");
    }
    const std::optional<std::time_t> last = LastOpenRequest(db, vehicle->id);
    if (last && call.now - *last < call.options.open_locate_interval_seconds) {
      return Outcome::Fail(codes::kTooFrequent, "您的操作过于频繁,请稍候再试");
    }
    RecordOpenRequest(db, vehicle->id, call.now);
    MarkUsed(db, vehicle->id, call.now);
    if (call.options.auto_authorise_seconds) {
      ScheduleAuthorisation(db, vehicle->id, call.now + *call.options.auto_authorise_seconds);
    }
    call.console.line(AuthorisationSms(*call.company, *vehicle));
    Json result = Json::object();
    result["request_times"] = today + 1;
    return Outcome::Ok(std::move(result));
  });
}

Outcome GetLocateStatus(CallContext& call) {
  const std::string& plate = call.params.require("plate_number");
  return call.storage.transact([&](Database& db) {
    OpenDueAuthorisations(db, call.console, call.now);
    const std::optional<Vehicle> vehicle = FindVehicle(db, call.company->id, plate);
    if (!vehicle) return VehicleNotFound(plate);
    Json result = Json::object();
    result["locate_status"] = vehicle->locate_status;
    return Outcome::Ok(std::move(result));
  });
}

}  // namespace devservice
