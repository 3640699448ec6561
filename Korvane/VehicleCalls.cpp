#include "Korvane/VehicleCalls.h"

#include <future>

#include "Korvane/CallLayer.h"
#include "Korvane/Codec.h"
#include "Korvane/DateTime.h"
#include "Korvane/Failures.h"
#include "Korvane/JsonReader.h"
#include "Korvane/Session.h"

namespace Korvane {
namespace {

const CallSpec kAdd{"/car/add", HttpMethod::Post, "新增车辆异常 - ", false};
const CallSpec kEdit{"/car/edit", HttpMethod::Post, "新增车辆异常 - ", false};
const CallSpec kDelete{"/car/delete", HttpMethod::Get, "删除车辆异常 - ", false};
const CallSpec kList{"/car/list", HttpMethod::Get, "获取车辆列表异常 - ", false};
const CallSpec kLocate{"/car/locate", HttpMethod::Get, "定位车辆异常 - ", false};
const CallSpec kOpenLocate{"/car/open_locate", HttpMethod::Get, "开通车辆定位异常 - ", false};
const CallSpec kLocateStatus{"/car/get_locate_status", HttpMethod::Get, "获取开通定位状态异常 - ", false};

ParamList VehicleKey(const std::string& register_contact_number, const std::string& plate_number) {
  return {"token=" + SessionToken(), "register_contact_number=" + register_contact_number,
          "plate_number=" + plate_number};
}

// Fields 2 to 20 of a list element, in the order the service's members are read.
CarPtr ReadCar(const JsonObject& element) {
  auto car = std::make_shared<TCar>();
  car->plate_number = element.ScalarText("plate_number");
  car->model_1 = element.ScalarText("model_1");
  car->model_2 = element.ScalarText("model_2");
  car->length = element.ScalarText("length");
  car->tonnage = element.ScalarText("tonnage");
  car->location = element.ScalarText("location");
  car->located_time = element.ScalarText("located_time");
  car->driver_name = element.ScalarText("driver_name");
  car->locate_number = element.ScalarText("locate_number");
  car->expected_flow = element.ScalarText("expected_flow");
  car->driver_gender = element.ScalarText("driver_gender");
  car->driver_id_number = element.ScalarText("driver_id_number");
  car->model_3 = element.ScalarText("model_3");
  car->model_4 = element.ScalarText("model_4");
  car->volume = element.ScalarText("volume");
  car->width = element.ScalarText("width");
  car->height = element.ScalarText("height");
  car->description = element.ScalarText("description");
  car->locate_status = element.ScalarText("locate_status");
  return car;
}

// The envelope of a list answer is read URL-decoded. A "%" inside a vehicle's text cannot be
// decoded; the envelope is then read from the plain body instead of failing the whole page.
// A body without "%" or "+" decodes to itself, so its plain parse serves as it is.
TMYResult ReadListEnvelope(const std::string& body, const JsonObject& plain) {
  if (body.find_first_of("%+") == std::string::npos) return ReadEnvelope(plain, true);
  try {
    return ReadResult(body);
  } catch (const EBadEncoding&) {
    return ReadEnvelope(plain, true);
  }
}

TMYResult ReadLocateAnswer(const std::string& body, const std::string& plate_number) {
  const JsonObject answer = JsonObject::Parse(body);
  TMYResult result = ReadEnvelope(answer, false);
  if (!result.success) return result;
  const JsonObject fields = answer.Object("result");
  result.detail = fields.Text("location");
  const double balance = fields.Float("account_balance");
  if (const CarPtr car = FindCar(plate_number)) {
    car->location = result.detail;
    car->located_time = FormatDateTime(Now());
    if (const auto company = Company()) company->account_balance = balance;
  }
  return result;
}

}  // namespace

std::string SortByValue(int sort_index) {
  switch (sort_index) {
    case 0: return "used_priority";
    case 1: return "location_priority";
    default: return "seat_priority";
  }
}

TMYResult SaveCar(const TCar& car, int mode) {
  const ParamList list = {
      "token=" + SessionToken(),
      "register_contact_number=" + car.register_contact_number,
      "plate_number=" + car.plate_number,
      "model_1=" + car.model_1,
      "model_2=" + car.model_2,
      "length=" + car.length,
      "tonnage=" + car.tonnage,
      "driver_name=" + car.driver_name,
      "locate_number=" + car.locate_number,
      "expected_flow=" + car.expected_flow,
      "driver_gender=" + car.driver_gender,
      "driver_id_number=" + car.driver_id_number,
      "model_3=" + car.model_3,
      "model_4=" + car.model_4,
      "volume=" + car.volume,
      "width=" + car.width,
      "height=" + car.height,
      "description=" + car.description,
  };
  return RunCall(mode == 2 ? kEdit : kAdd, list, ReadResult);
}

TMYResult DeleteCar(const std::string& register_contact_number, const std::string& plate_number) {
  return RunCall(kDelete, VehicleKey(register_contact_number, plate_number), ReadResult);
}

TMYResult ReadCarPage(const std::string& body, int page_no, TCars& out) {
  const JsonObject plain = JsonObject::Parse(body);
  if (plain.Bool("success")) {
    const JsonObject result = plain.Object("result");
    out.total_results = static_cast<int>(result.Int("total_results"));
    if (static_cast<long long>(page_no - 1) * kPageSize < out.total_results) {
      CarList cars;
      const std::vector<JsonObject> elements = result.ObjectArray("car_lists");
      cars.reserve(elements.size());
      for (const JsonObject& element : elements) cars.push_back(ReadCar(element));
      out.cars = std::move(cars);
    }
  }
  return ReadListEnvelope(body, plain);
}

TMYResult GetCarPage(const std::string& register_contact_number, int page_no, int sort_index, TCars& out) {
  out = TCars();
  const ParamList list = {"token=" + SessionToken(), "register_contact_number=" + register_contact_number,
                          "sort_by=" + SortByValue(sort_index), "page_no=" + std::to_string(page_no),
                          "page_size=" + std::to_string(kPageSize)};
  return RunCall(kList, list, [&](const std::string& body) { return ReadCarPage(body, page_no, out); });
}

TCars& LoadMorePages(const std::string& register_contact_number, TCars& cars, int sort_index,
                     const std::atomic<bool>* stop) {
  const int lastPage = cars.total_results / kPageSize + 1;
  const auto fetch = [&register_contact_number, sort_index](int page) {
    TCars next;
    GetCarPage(register_contact_number, page, sort_index, next);
    return next;
  };
  // Two pages are in flight at a time: while one page is read, the service already works on
  // the next. Pages are appended strictly in order; the first page without a list ends the
  // load, and a request already made for the page after it is discarded.
  std::future<TCars> pending;
  for (int page = 2; page <= lastPage; ++page) {
    if (stop != nullptr && stop->load()) break;
    std::future<TCars> following;
    if (page + 1 <= lastPage) following = std::async(std::launch::async, fetch, page + 1);
    TCars next = pending.valid() ? pending.get() : fetch(page);
    pending = std::move(following);
    if (!next.cars) break;
    if (!cars.cars) cars.cars.emplace();
    cars.cars->insert(cars.cars->end(), std::make_move_iterator(next.cars->begin()),
                      std::make_move_iterator(next.cars->end()));
  }
  return cars;
}

TMYResult LocateCar(const std::string& register_contact_number, const std::string& plate_number) {
  return RunCall(kLocate, VehicleKey(register_contact_number, plate_number),
                 [&](const std::string& body) { return ReadLocateAnswer(body, plate_number); });
}

TMYResult OpenLocate(const std::string& register_contact_number, const std::string& plate_number,
                     int& request_times) {
  return RunCall(kOpenLocate, VehicleKey(register_contact_number, plate_number),
                 [&](const std::string& body) { return ReadOpenLocateResult(body, request_times); });
}

TMYResult GetLocateStatus(const std::string& register_contact_number, const std::string& plate_number,
                          int& locate_status) {
  return RunCall(kLocateStatus, VehicleKey(register_contact_number, plate_number),
                 [&](const std::string& body) { return ReadLocateStatusResult(body, locate_status); });
}

}  // namespace Korvane
