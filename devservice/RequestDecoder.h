// Reading a signed request: the fields key, parameters and sign; the signature check; the
// Base64 parameter text split into name=value pairs; the time-stamp check.
#pragma once

#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "devservice/Envelope.h"

namespace devservice {

inline constexpr std::string_view kApiKey = "62937";
inline constexpr std::string_view kApiSecret = "Qm5wUjd6Vk1kYTRoTXBXcTJnTnNFeUs4Ym9MdkFyQ2k=";
// A time stamp may differ from the service's clock by this many seconds.
inline constexpr std::time_t kTimeStampTolerance = 600;

struct SignedFields {
  std::optional<std::string> key;
  std::optional<std::string> parameters;
  std::optional<std::string> sign;
};

// From the raw query of a GET request: "+" is a literal "+" (Base64), "%XX" escapes are
// resolved. The first occurrence of a field counts.
SignedFields FieldsFromQuery(std::string_view query);
// From a form body (application/x-www-form-urlencoded): "+" is a space, "%XX" a byte.
SignedFields FieldsFromForm(std::string_view body);

class MissingParameter : public std::runtime_error {
 public:
  explicit MissingParameter(std::string name)
      : std::runtime_error("missing parameter " + name), name_(std::move(name)) {}
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// The decoded name=value pairs of the parameter text, in the order sent.
class ParamList {
 public:
  void add(std::string name, std::string value);
  // The first value of `name`, or nullptr.
  const std::string* find(std::string_view name) const;
  // The first value of `name`, or an empty text.
  std::string value(std::string_view name) const;
  // The first value of `name`; throws MissingParameter when there is none.
  const std::string& require(std::string_view name) const;
  const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

// EncodeParam(MD5Hex(key + parameters + secret)): the sign a client sends with `parameters`.
std::string SignatureOf(std::string_view parameters);

// Base64 text to pairs: split at bare "&", each pair at its first "=", names and values
// URL-decoded and required to be UTF-8.
std::variant<ParamList, ServiceError> DecodeParameters(std::string_view parameters);

// The pair "ts" must be "yyyy-mm-dd hh:nn:ss" within the tolerance of `now`.
std::optional<ServiceError> CheckTimeStamp(const ParamList& params, std::time_t now);

// All checks in order: fields present, key, signature, parameter text, time stamp.
std::variant<ParamList, ServiceError> DecodeSignedRequest(const SignedFields& fields,
                                                          std::time_t now);

}  // namespace devservice
