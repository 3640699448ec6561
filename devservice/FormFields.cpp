#include "devservice/FormFields.h"

#include "Korvane/Codec.h"

namespace devservice {
namespace {

std::string Decoded(std::string_view text) {
  try {
    return Korvane::UrlDecode(text);
  } catch (const Korvane::EUrlDecode&) {
    return std::string(text);
  }
}

}  // namespace

FormFields FormFields::Parse(std::string_view text) {
  FormFields fields;
  fields.append(text);
  return fields;
}

void FormFields::append(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    if (!pair.empty()) {
      fields_.emplace_back(Decoded(pair.substr(0, equals)),
                           equals == std::string_view::npos ? std::string()
                                                            : Decoded(pair.substr(equals + 1)));
    }
    start = end + 1;
  }
}

bool FormFields::has(std::string_view name) const {
  for (const auto& field : fields_) {
    if (field.first == name) return true;
  }
  return false;
}

std::string FormFields::value(std::string_view name) const {
  for (const auto& field : fields_) {
    if (field.first == name) return field.second;
  }
  return std::string();
}

std::string_view QueryOf(std::string_view target) {
  const std::size_t question = target.find('?');
  return question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
}

}  // namespace devservice
