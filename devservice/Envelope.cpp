#include "devservice/Envelope.h"

#include "Korvane/Codec.h"
#include "devservice/ErrorCodes.h"

namespace devservice {

void Validates::add(const std::string& field, const std::string& message) {
  if (!members_.contains(field)) members_[field] = Json::array();
  members_[field].push_back(message);
}

Outcome Outcome::Ok(Json result) {
  Outcome outcome;
  outcome.result = std::move(result);
  return outcome;
}

Outcome Outcome::Fail(std::string code, std::string message) {
  Outcome outcome;
  outcome.error = ServiceError{std::move(code), std::move(message), std::nullopt};
  return outcome;
}

Outcome Outcome::Refuse(Validates validates) {
  Outcome outcome;
  outcome.error = ServiceError{codes::kInvalidFields, "数据校验失败", std::move(validates)};
  return outcome;
}

std::string AnswerBody(const Outcome& outcome, AnswerMode mode) {
  Json envelope = Json::object();
  envelope["success"] = outcome.ok();
  if (outcome.ok()) {
    envelope["result"] = outcome.result;
  } else {
    Json error = Json::object();
    error["code"] = outcome.error->code;
    error["message"] = outcome.error->message;
    if (outcome.error->validates) error["validates"] = outcome.error->validates->json();
    envelope["error"] = std::move(error);
  }
  const std::string text = envelope.dump(-1, ' ', false, Json::error_handler_t::replace);
  return mode == AnswerMode::UrlEncoded ? Korvane::UrlEncode(text) : text;
}

const char* AnswerContentType(AnswerMode mode) {
  return mode == AnswerMode::Plain ? "application/json; charset=utf-8"
                                   : "text/plain; charset=utf-8";
}

}  // namespace devservice
