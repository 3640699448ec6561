#include "devservice/VehicleCalls.h"

#include <charconv>

#include "devservice/AreaTable.h"
#include "devservice/Catalogue.h"
#include "devservice/ErrorCodes.h"
#include "devservice/LocateCalls.h"
#include "devservice/Validation.h"

namespace devservice {
namespace {

Outcome VehicleNotFound(const std::string& plate) {
  return Outcome::Fail(codes::kVehicleNotFound, "车辆不存在: " + plate);
}

std::optional<std::int64_t> PositiveNumber(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || value < 1) return std::nullopt;
  return value;
}

void CheckNumberField(Validates& refusals, const char* field, const std::string& value,
                      const char* message) {
  if (!value.empty() && !IsDecimalNumber(value)) refusals.add(field, message);
}

void CheckFreeText(Validates& refusals, const char* field, const std::string& value,
                   std::size_t maxCharacters, const std::string& label) {
  if (HasIllegalChar(value)) {
    refusals.add(field, label + "不能包含特殊字符");
  } else if (CharacterCount(value) > maxCharacters) {
    refusals.add(field, label + "不能超过" + std::to_string(maxCharacters) + "个字");
  }
}

void CheckFlow(Validates& refusals, const std::string& flow) {
  for (const std::string& code : SplitList(flow)) {
    if (FindArea(code) == nullptr) {
      refusals.add("expected_flow", "期望流向包含未知的地区代码: " + code);
      return;
    }
  }
}

Json CarListMember(const Vehicle& vehicle) {
  const VehicleData& data = vehicle.data;
  Json car = Json::object();
  car["plate_number"] = data.plate_number;
  car["model_1"] = data.model_1;
  car["model_2"] = data.model_2;
  car["length"] = data.length;
  car["tonnage"] = data.tonnage;
  car["location"] = vehicle.location;
  car["located_time"] = vehicle.located_time;
  car["driver_name"] = data.driver_name;
  car["locate_number"] = data.locate_number;
  car["expected_flow"] = AreaNamesOfCodes(data.expected_flow);
  car["driver_gender"] = data.driver_gender;
  car["driver_id_number"] = data.driver_id_number;
  car["model_3"] = data.model_3;
  car["model_4"] = data.model_4;
  car["volume"] = data.volume;
  car["width"] = data.width;
  car["height"] = data.height;
  car["description"] = data.description;
  car["locate_status"] = std::to_string(vehicle.locate_status);
  return car;
}

// The list order and the place it puts first, from sort_by: the city the company signs in
// from, or its seat city.
std::optional<std::pair<SortOrder, std::string>> ListOrder(const std::string& sortBy,
                                                           const Company& company) {
  if (sortBy == "used_priority") return std::make_pair(SortOrder::Used, std::string());
  if (sortBy == "location_priority") {
    const Area* city = FindPlaceByName(company.current_city);
    return std::make_pair(SortOrder::Place, city != nullptr ? city->code : std::string());
  }
  if (sortBy == "seat_priority") return std::make_pair(SortOrder::Place, company.seat_code);
  return std::nullopt;
}

}  // namespace

VehicleData VehicleDataFrom(const ParamList& params) {
  VehicleData data;
  data.plate_number = params.value("plate_number");
  data.locate_number = params.value("locate_number");
  data.driver_name = params.value("driver_name");
  data.expected_flow = params.value("expected_flow");
  data.driver_gender = params.value("driver_gender");
  data.driver_id_number = params.value("driver_id_number");
  data.model_1 = params.value("model_1");
  data.model_2 = params.value("model_2");
  data.model_3 = params.value("model_3");
  data.model_4 = params.value("model_4");
  data.length = params.value("length");
  data.tonnage = params.value("tonnage");
  data.volume = params.value("volume");
  data.width = params.value("width");
  data.height = params.value("height");
  data.description = params.value("description");
  return data;
}

Validates CheckVehicleFields(const VehicleData& data) {
  Validates refusals;
  if (data.plate_number.empty()) {
    refusals.add("plate_number", "车牌号码不能为空");
  } else if (!IsPlateNumber(data.plate_number)) {
    refusals.add("plate_number", "车牌号码格式不正确");
  }
  if (data.locate_number.empty()) {
    refusals.add("locate_number", "随车手机不能为空");
  } else if (!IsMobileNumber(data.locate_number)) {
    refusals.add("locate_number", "手机号码无效");
  }
  CheckFreeText(refusals, "driver_name", data.driver_name, 20, "随车司机");
  if (!data.driver_gender.empty() && data.driver_gender != "男" && data.driver_gender != "女") {
    refusals.add("driver_gender", "司机性别只能是男或女");
  }
  if (data.driver_id_number.size() > 32) refusals.add("driver_id_number", "身份证号过长");
  CheckFlow(refusals, data.expected_flow);
  const std::string* models[] = {&data.model_1, &data.model_2, &data.model_3, &data.model_4};
  for (int group = 1; group <= 4; ++group) {
    const std::string& code = *models[group - 1];
    if (!code.empty() && !IsTypeCode(group, code)) {
      refusals.add("model_" + std::to_string(group), "车型代码无效: " + code);
    }
  }
  CheckNumberField(refusals, "length", data.length, "车长数据无效");
  CheckNumberField(refusals, "tonnage", data.tonnage, "吨位数据无效");
  CheckNumberField(refusals, "volume", data.volume, "容积数据无效");
  CheckNumberField(refusals, "width", data.width, "车宽数据无效");
  CheckNumberField(refusals, "height", data.height, "车高数据无效");
  CheckFreeText(refusals, "description", data.description, 200, "备注");
  return refusals;
}

Outcome ListCars(CallContext& call) {
  const std::string* sortBy = call.params.find("sort_by");
  const auto order = ListOrder(sortBy != nullptr ? *sortBy : "used_priority", *call.company);
  const std::string* pageNoText = call.params.find("page_no");
  const std::string* pageSizeText = call.params.find("page_size");
  const auto pageNo = pageNoText != nullptr ? PositiveNumber(*pageNoText) : std::int64_t{1};
  const auto pageSize = pageSizeText != nullptr ? PositiveNumber(*pageSizeText) : std::int64_t{999};
  Validates refusals;
  if (!order) refusals.add("sort_by", "排序方式无效");
  if (!pageNo) refusals.add("page_no", "页码必须是正整数");
  if (!pageSize || *pageSize > kMaxPageSize) {
    refusals.add("page_size", "每页数量必须在1到" + std::to_string(kMaxPageSize) + "之间");
  }
  if (!refusals.empty()) return Outcome::Refuse(std::move(refusals));
  return call.storage.transact([&](Database& db) {
    OpenDueAuthorisations(db, call.console, call.now);
    const std::int64_t companyId = call.company->id;
    Json cars = Json::array();
    for (const Vehicle& vehicle : ListVehicles(db, companyId, order->first, order->second,
                                               (*pageNo - 1) * *pageSize, *pageSize)) {
      cars.push_back(CarListMember(vehicle));
    }
    Json result = Json::object();
    result["total_results"] = CountVehicles(db, companyId);
    result["car_lists"] = std::move(cars);
    return Outcome::Ok(std::move(result));
  });
}

Outcome AddCar(CallContext& call) {
  const VehicleData data = VehicleDataFrom(call.params);
  Validates refusals = CheckVehicleFields(data);
  return call.storage.transact([&](Database& db) {
    const std::int64_t companyId = call.company->id;
    if (!data.plate_number.empty() && PlateTaken(db, data.plate_number)) {
      refusals.add("plate_number", "车牌号码已经注册");
    }
    if (!data.locate_number.empty() && VehicleUsingLocateNumber(db, companyId, data.locate_number)) {
      refusals.add("locate_number", "随车手机已经添加");
    }
    if (!refusals.empty()) return Outcome::Refuse(refusals);
    InsertVehicle(db, companyId, data, call.now);
    Json result = Json::object();
    result["plate_number"] = data.plate_number;
    return Outcome::Ok(std::move(result));
  });
}

Outcome EditCar(CallContext& call) {
  const VehicleData data = VehicleDataFrom(call.params);
  call.params.require("plate_number");
  Validates refusals = CheckVehicleFields(data);
  return call.storage.transact([&](Database& db) {
    const std::int64_t companyId = call.company->id;
    const std::optional<Vehicle> vehicle = FindVehicle(db, companyId, data.plate_number);
    if (!vehicle) return VehicleNotFound(data.plate_number);
    const auto user = VehicleUsingLocateNumber(db, companyId, data.locate_number);
    if (!data.locate_number.empty() && user && *user != vehicle->id) {
      refusals.add("locate_number", "随车手机已经添加");
    }
    if (!refusals.empty()) return Outcome::Refuse(refusals);
    UpdateVehicleData(db, *vehicle, data, call.now);
    Json result = Json::object();
    result["plate_number"] = data.plate_number;
    return Outcome::Ok(std::move(result));
  });
}

Outcome DeleteCar(CallContext& call) {
  const std::string& plate = call.params.require("plate_number");
  return call.storage.transact([&](Database& db) {
    const std::optional<Vehicle> vehicle = FindVehicle(db, call.company->id, plate);
    if (!vehicle) return VehicleNotFound(plate);
    DeleteVehicle(db, vehicle->id);
    Json result = Json::object();
    result["plate_number"] = plate;
    return Outcome::Ok(std::move(result));
  });
}

}  // namespace devservice
