// Name=value fields of a query or form body as browsers and tools send them: "+" is a space,
// "%XX" a byte. Used by the portal pages and the development endpoints.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace devservice {

class FormFields {
 public:
  // Fields of "a=1&b=2"; a malformed escape leaves that text as it was sent.
  static FormFields Parse(std::string_view text);
  // Adds the fields of another text after these.
  void append(std::string_view text);

  bool has(std::string_view name) const;
  // The first value of name, or an empty text.
  std::string value(std::string_view name) const;

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

// The query of a request target ("/a?b=1" -> "b=1"), or an empty text.
std::string_view QueryOf(std::string_view target);

}  // namespace devservice
