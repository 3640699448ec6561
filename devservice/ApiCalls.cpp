#include "devservice/AccountCalls.h"
#include "devservice/Calls.h"
#include "devservice/LocateCalls.h"
#include "devservice/VehicleCalls.h"

namespace devservice {

const std::vector<ApiCall>& ApiCalls() {
  using enum AnswerMode;
  static const std::vector<ApiCall> calls = {
      {"/user/verify", "GET", Plain, TokenNeed::None, Verify},
      {"/user/captcha", "GET", UrlEncoded, TokenNeed::Any, RequestCaptcha},
      {"/user/register", "POST", UrlEncoded, TokenNeed::Any, RegisterUser},
      {"/car/list", "GET", Plain, TokenNeed::Company, ListCars},
      {"/car/add", "POST", UrlEncoded, TokenNeed::Company, AddCar},
      {"/car/edit", "POST", UrlEncoded, TokenNeed::Company, EditCar},
      {"/car/delete", "GET", UrlEncoded, TokenNeed::Company, DeleteCar},
      {"/car/locate", "GET", Plain, TokenNeed::Company, LocateCar},
      {"/car/open_locate", "GET", UrlEncoded, TokenNeed::Company, OpenLocate},
      {"/car/get_locate_status", "GET", UrlEncoded, TokenNeed::Company, GetLocateStatus},
  };
  return calls;
}

}  // namespace devservice
