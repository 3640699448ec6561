// The answer envelope: {"success": true, "result": {...}} or
// {"success": false, "error": {"code": ..., "message": ..., "validates": {...}}}, sent as plain
// JSON or as URL-encoded JSON text, depending on how the client reads the call.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace devservice {

using Json = nlohmann::ordered_json;

enum class AnswerMode { Plain, UrlEncoded };

// Field refusals: one member per field, each an array of message texts, in the order added.
class Validates {
 public:
  void add(const std::string& field, const std::string& message);
  bool empty() const { return members_.empty(); }
  const Json& json() const { return members_; }

 private:
  Json members_ = Json::object();
};

struct ServiceError {
  std::string code;
  std::string message;
  std::optional<Validates> validates;
};

// What a call answers: a result object or an error.
struct Outcome {
  std::optional<ServiceError> error;
  Json result = Json::object();

  static Outcome Ok(Json result);
  static Outcome Fail(std::string code, std::string message);
  static Outcome Refuse(Validates validates);
  bool ok() const { return !error.has_value(); }
};

// The text of the envelope of `outcome` in the given mode.
std::string AnswerBody(const Outcome& outcome, AnswerMode mode);

// The content type that goes with the mode.
const char* AnswerContentType(AnswerMode mode);

}  // namespace devservice
