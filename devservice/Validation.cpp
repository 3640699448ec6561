#include "devservice/Validation.h"

#include <cstdint>
#include <string>

#include "devservice/Catalogue.h"

namespace devservice {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLatinLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAllDigits(std::string_view text) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return !text.empty();
}

// Length of the UTF-8 sequence that starts with `lead`, or 0 when it cannot start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    if (length == 0 || i + length > text.size()) return false;
    std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

bool IsMobileNumber(std::string_view text) {
  if (text.size() != 11 || !IsAllDigits(text) || text[0] != '1') return false;
  const char second = text[1];
  const char third = text[2];
  switch (second) {
    case '3':
    case '8':
      return true;
    case '4':
      return third == '5' || third == '7';
    case '5':
      return third != '4';
    case '7':
      if (third == '0' || third == '1') return true;
      return third == '3' || third == '6' || third == '7' || third == '8';
    default:
      return false;
  }
}

bool IsPlateNumber(std::string_view text) {
  // The abbreviation is one Chinese character: three bytes of UTF-8.
  if (text.size() != 3 + 6) return false;
  if (FindPlateProvince(std::string(text.substr(0, 3))) == nullptr) return false;
  if (!IsLatinLetter(text[3])) return false;
  for (char c : text.substr(4)) {
    if (!IsLatinLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}

bool IsDecimalNumber(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return IsAllDigits(text);
  return IsAllDigits(text.substr(0, point)) && IsAllDigits(text.substr(point + 1));
}

bool IsLoginName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && !IsLatinLetter(c) && !IsDigit(c) && c != '_') return false;
  }
  return true;
}

bool HasIllegalChar(std::string_view text) {
  static constexpr std::string_view kIllegal = "~!#$%^&*()=+|\\[]{};':\",?/<>";
  return text.find_first_of(kIllegal) != std::string_view::npos;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace devservice
