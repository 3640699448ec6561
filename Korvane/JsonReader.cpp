#include "Korvane/JsonReader.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "Korvane/Failures.h"

namespace Korvane {
namespace {

using Json = nlohmann::ordered_json;

[[noreturn]] void WrongType(const char* name, const Json& value, const char* wanted) {
  throw EBadAnswer(std::string("member \"") + name + "\" is " + value.type_name() + ", not " +
                   wanted);
}

}  // namespace

JsonObject JsonObject::Parse(std::string_view body) {
  auto root = std::make_shared<Json>();
  try {
    *root = Json::parse(body.begin(), body.end());
  } catch (const Json::exception& e) {
    throw EBadAnswer(e.what());
  }
  if (!root->is_object()) throw EBadAnswer(std::string("answer is ") + root->type_name() + ", not an object");
  const Json* node = root.get();
  return JsonObject(std::move(root), node);
}

const Json* JsonObject::Member(const char* name) const {
  const auto it = node_->find(name);
  return it == node_->end() ? nullptr : &*it;
}

bool JsonObject::Has(const char* name) const { return Member(name) != nullptr; }

bool JsonObject::Bool(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr) return false;
  if (!value->is_boolean()) WrongType(name, *value, "a Boolean");
  return value->get<bool>();
}

long long JsonObject::Int(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr || value->is_null()) return 0;
  if (value->is_number_integer()) return value->get<long long>();
  if (value->is_number_unsigned()) return static_cast<long long>(value->get<unsigned long long>());
  if (value->is_number_float()) return std::llround(value->get<double>());
  WrongType(name, *value, "a number");
}

double JsonObject::Float(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr || value->is_null()) return 0.0;
  if (!value->is_number()) WrongType(name, *value, "a number");
  return value->get<double>();
}

std::string JsonObject::Text(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr || value->is_null()) return {};
  if (!value->is_string()) WrongType(name, *value, "a text");
  return value->get<std::string>();
}

std::string JsonObject::ScalarText(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr) throw EBadAnswer(std::string("member \"") + name + "\" is missing");
  if (value->is_null()) return {};
  if (value->is_string()) return value->get<std::string>();
  if (value->is_number() || value->is_boolean()) return value->dump();
  WrongType(name, *value, "a text or number");
}

JsonObject JsonObject::Object(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr) throw EBadAnswer(std::string("member \"") + name + "\" is missing");
  if (!value->is_object()) WrongType(name, *value, "an object");
  return JsonObject(root_, value);
}

std::vector<JsonObject> JsonObject::ObjectArray(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr) throw EBadAnswer(std::string("member \"") + name + "\" is missing");
  if (!value->is_array()) WrongType(name, *value, "an array");
  std::vector<JsonObject> elements;
  elements.reserve(value->size());
  for (const Json& element : *value) {
    if (!element.is_object()) WrongType(name, element, "an array of objects");
    elements.push_back(JsonObject(root_, &element));
  }
  return elements;
}

std::vector<std::string> JsonObject::TextsOfObject(const char* name) const {
  const Json* value = Member(name);
  if (value == nullptr) return {};
  if (!value->is_object()) WrongType(name, *value, "an object");
  std::vector<std::string> texts;
  for (const auto& [field, messages] : value->items()) {
    if (!messages.is_array()) WrongType(field.c_str(), messages, "an array of texts");
    for (const Json& message : messages) {
      if (message.is_null()) {
        texts.emplace_back();
      } else if (message.is_string()) {
        texts.push_back(message.get<std::string>());
      } else {
        WrongType(field.c_str(), message, "an array of texts");
      }
    }
  }
  return texts;
}

}  // namespace Korvane
