// The service's request encoding: URL encoding, Base64 with the "*" alphabet, MD5.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace Korvane {

// Thrown by UrlDecode on a "%" that is not followed by two hexadecimal digits.
class EUrlDecode : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Byte-wise URL encoding: A-Z a-z 0-9 ! $ ' ( ) * - . @ _ stay, a space becomes "+", every
// other byte "%XX" with uppercase hexadecimal digits.
std::string UrlEncode(std::string_view utf8);

// The parameter encoding: UrlEncode, then "%3D" back to "=" and "%26" back to "&", then
// Base64Encode. `restoreSeparators` false keeps "=" and "&" encoded (values inside a list).
std::string EncodeParam(std::string_view utf8, bool restoreSeparators = true);

// RFC 4648 Base64 with "*" in place of "/".
std::string Base64Encode(std::string_view bytes);
// Inverse of Base64Encode; throws std::invalid_argument on text that is not such Base64.
std::string Base64Decode(std::string_view text);

// MD5 (RFC 1321) as 32 lowercase hexadecimal digits.
std::string MD5Hex(std::string_view bytes);

// The answer decoding: "+" to a space, "%%" to "%", "%XX" (either case) to its byte.
// Throws EUrlDecode on a "%" followed by fewer than two characters or by non-hex digits.
std::string UrlDecode(std::string_view text);

// The HTTP client's form encoding of a POST field value: A-Z a-z 0-9 * - . _ stay, a space
// becomes "+", every other byte "%XX" uppercase.
std::string FormEncode(std::string_view utf8);

}  // namespace Korvane
