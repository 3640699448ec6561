// Checks of single texts received from clients. All texts are UTF-8.
#pragma once

#include <string_view>

namespace devservice {

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// An 11-digit mainland mobile number of the known number blocks: 130-139, 145, 147,
// 150-159 except 154, 173, 176-178, 180-189, 1700-1719.
bool IsMobileNumber(std::string_view text);

// A plate: one of the 31 province abbreviations, a Latin letter, five Latin letters or digits.
bool IsPlateNumber(std::string_view text);

// Digits, optionally a point and more digits: "2.5", "10"; not "2." or ".5".
bool IsDecimalNumber(std::string_view text);

// An account name: letters, digits, "_" and non-ASCII characters only, at least one.
bool IsLoginName(std::string_view text);

// True when text holds one of ~ ! # $ % ^ & * ( ) = + | \ [ ] { } ; ' : " , ? / < >.
bool HasIllegalChar(std::string_view text);

// The number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace devservice
