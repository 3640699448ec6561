// UTF-8 sequence boundaries, shared by the POSIX and Win32 text conversions.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::detail {

struct Utf8Sequence {
  std::size_t length = 0;  // bytes taken at the position (at least 1 when input remains)
  bool valid = false;      // a well-formed, shortest-form encoding of a scalar value
  char32_t codePoint = 0;  // only meaningful when valid
};

// The UTF-8 sequence that starts at `pos`. An ill-formed sequence reports the length of its
// maximal well-formed prefix (at least one byte), so that one replacement stands for it.
inline Utf8Sequence ReadUtf8Sequence(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return {1, true, lead};

  std::size_t need = 0;
  char32_t cp = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {1, false, 0};
  }

  std::size_t taken = 1;
  for (std::size_t i = 0; i < need; ++i) {
    const std::size_t at = pos + taken;
    if (at >= text.size()) return {taken, false, 0};
    const unsigned char next = byte(at);
    const unsigned char min = i == 0 ? low : 0x80;
    const unsigned char max = i == 0 ? high : 0xBF;
    if (next < min || next > max) return {taken, false, 0};
    cp = (cp << 6) | (next & 0x3F);
    ++taken;
  }
  return {taken, true, cp};
}

// Length of the longest prefix of at most `limit` bytes that does not end inside a
// well-formed UTF-8 sequence.
inline std::size_t Utf8PrefixWithin(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t pos = 0;
  while (pos < limit) {
    const Utf8Sequence seq = ReadUtf8Sequence(text, pos);
    if (pos + seq.length > limit) break;
    pos += seq.length;
  }
  return pos;
}

}  // namespace platform::detail
