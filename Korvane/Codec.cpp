#include "Korvane/Codec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace Korvane {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsAsciiAlnum(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Percent-encodes every byte outside `kept`; a space becomes "+".
std::string PercentEncode(std::string_view bytes, const char* kept) {
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (IsAsciiAlnum(c) || (c != 0 && std::strchr(kept, c) != nullptr)) {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0x0F];
    }
  }
  return out;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+*";

int Base64Value(char c) {
  const char* at = std::strchr(kBase64Alphabet, c);
  return (c != 0 && at != nullptr) ? static_cast<int>(at - kBase64Alphabet) : -1;
}

}  // namespace

std::string UrlEncode(std::string_view utf8) { return PercentEncode(utf8, "!$'()*-.@_"); }

std::string FormEncode(std::string_view utf8) { return PercentEncode(utf8, "*-._"); }

std::string EncodeParam(std::string_view utf8, bool restoreSeparators) {
  std::string encoded = UrlEncode(utf8);
  if (restoreSeparators) {
    ReplaceAll(encoded, "%3D", "=");
    ReplaceAll(encoded, "%26", "&");
  }
  return Base64Encode(encoded);
}

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t n = (static_cast<unsigned char>(bytes[i]) << 16) |
                            (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                            static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Alphabet[(n >> 18) & 63];
    out += kBase64Alphabet[(n >> 12) & 63];
    out += kBase64Alphabet[(n >> 6) & 63];
    out += kBase64Alphabet[n & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64Alphabet[(n >> 18) & 63];
    out += kBase64Alphabet[(n >> 12) & 63];
    out += rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) throw std::invalid_argument("Base64 text length is not a multiple of 4");
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const int padding = (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=');
    if (padding > 0 && !last) throw std::invalid_argument("Base64 padding before the end");
    std::uint32_t n = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      int value = 0;
      if (k >= 4 - padding) {
        if (c != '=') throw std::invalid_argument("bad Base64 padding");
      } else if ((value = Base64Value(c)) < 0) {
        throw std::invalid_argument("character outside the Base64 alphabet");
      }
      n = (n << 6) | static_cast<std::uint32_t>(value);
    }
    out += static_cast<char>((n >> 16) & 0xFF);
    if (padding < 2) out += static_cast<char>((n >> 8) & 0xFF);
    if (padding < 1) out += static_cast<char>(n & 0xFF);
  }
  return out;
}

std::string UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c != '%') {
      out += c;
    } else if (i + 1 < text.size() && text[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
      if (high < 0 || low < 0) {
        throw EUrlDecode("Invalid URL encoded character (" +
                         std::string(text.substr(i, 3)) + ") at position " + std::to_string(i));
      }
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

// ---- MD5 (RFC 1321) ----------------------------------------------------------------------

namespace {

struct Md5State {
  std::array<std::uint32_t, 4> h{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
};

constexpr std::array<std::uint32_t, 64> kMd5Sines = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

constexpr std::array<int, 64> kMd5Shifts = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7,
                                            12, 17, 22, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,
                                            14, 20, 5,  9,  14, 20, 4, 11, 16, 23, 4, 11, 16,
                                            23, 4,  11, 16, 23, 4,  11, 16, 23, 6, 10, 15, 21,
                                            6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};

std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Md5Block(Md5State& state, const unsigned char* block) {
  std::uint32_t m[16];
  for (int i = 0; i < 16; ++i) {
    m[i] = static_cast<std::uint32_t>(block[i * 4]) |
           (static_cast<std::uint32_t>(block[i * 4 + 1]) << 8) |
           (static_cast<std::uint32_t>(block[i * 4 + 2]) << 16) |
           (static_cast<std::uint32_t>(block[i * 4 + 3]) << 24);
  }
  std::uint32_t a = state.h[0], b = state.h[1], c = state.h[2], d = state.h[3];
  for (int i = 0; i < 64; ++i) {
    std::uint32_t f;
    int g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) % 16;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) % 16;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) % 16;
    }
    const std::uint32_t next = b + RotateLeft(a + f + kMd5Sines[i] + m[g], kMd5Shifts[i]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state.h[0] += a;
  state.h[1] += b;
  state.h[2] += c;
  state.h[3] += d;
}

}  // namespace

std::string MD5Hex(std::string_view bytes) {
  Md5State state;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t i = 0; i < whole; i += 64) Md5Block(state, data + i);

  // The tail, the 0x80 marker, zero padding and the bit length, in one or two blocks.
  unsigned char tail[128] = {};
  const std::size_t rest = bytes.size() - whole;
  std::memcpy(tail, data + whole, rest);
  tail[rest] = 0x80;
  const std::size_t tailSize = rest < 56 ? 64 : 128;
  const std::uint64_t bitLength = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 8 + i] = static_cast<unsigned char>(bitLength >> (8 * i));
  for (std::size_t i = 0; i < tailSize; i += 64) Md5Block(state, tail + i);

  static constexpr char kLowerHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(32);
  for (std::uint32_t word : state.h) {
    for (int i = 0; i < 4; ++i) {
      const unsigned char byte = static_cast<unsigned char>(word >> (8 * i));
      hex += kLowerHex[byte >> 4];
      hex += kLowerHex[byte & 0x0F];
    }
  }
  return hex;
}

}  // namespace Korvane
