// Reads the service's JSON answers with the value rules every call relies on:
// a missing member reads as false, 0 or ""; null reads as 0 or "" (never as a Boolean);
// numbers read as integers are rounded; any other type than the one read is EBadAnswer.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace Korvane {

class JsonObject {
 public:
  // Parses a body that must be one JSON object; throws EBadAnswer otherwise.
  static JsonObject Parse(std::string_view body);

  bool Has(const char* name) const;
  bool Bool(const char* name) const;
  long long Int(const char* name) const;
  double Float(const char* name) const;
  std::string Text(const char* name) const;
  // Any scalar as text: a text as it is, a number as its decimal text, null as "".
  // A missing member is EBadAnswer.
  std::string ScalarText(const char* name) const;
  // The member object; EBadAnswer when it is missing or not an object.
  JsonObject Object(const char* name) const;
  // The member, an array of objects; EBadAnswer when it is missing or not an array of objects.
  std::vector<JsonObject> ObjectArray(const char* name) const;
  // Members of an object member, in document order, each an array of texts: the texts of all
  // members joined in order. EBadAnswer when the member is not an object of text arrays.
  std::vector<std::string> TextsOfObject(const char* name) const;

 private:
  JsonObject(std::shared_ptr<const nlohmann::ordered_json> root, const nlohmann::ordered_json* node)
      : root_(std::move(root)), node_(node) {}
  const nlohmann::ordered_json* Member(const char* name) const;

  std::shared_ptr<const nlohmann::ordered_json> root_;
  const nlohmann::ordered_json* node_;
};

}  // namespace Korvane
