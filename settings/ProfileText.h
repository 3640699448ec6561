// The private-profile (INI) format on the bytes of a whole file: "[section]" header lines,
// "key=value" lines below them. Section and key names match without regard to ASCII case;
// blanks around names and values do not count.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace profile {

// The value of `key` in the first `section` of the text, blanks around it stripped; nullopt
// when the section or the key is missing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text with `key` of `section` set to `value`: the key's first line is replaced; a missing
// key is added after the last entry of the section; a missing section is added at the end.
// New lines end in CR LF; every other line stays as it was.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace profile
