#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zolt {

// Base64 (RFC 4648, standard alphabet, with padding) of `bytes`.
std::string EncodeBase64(std::string_view bytes);
// The bytes of a base64 text: nothing when it holds anything but the
// alphabet and its padding (blanks and line breaks included), so that one
// text never reads as two different keys or signatures.
std::optional<std::string> DecodeBase64(std::string_view text);

// Lower-case hexadecimal of `bytes`.
std::string EncodeHex(std::string_view bytes);
// The value of one hexadecimal digit (either case); -1 for any other byte.
int HexDigitValue(char c);
// The bytes of a hexadecimal text (either case, even length, nothing else).
std::optional<std::string> DecodeHex(std::string_view text);

}  // namespace zolt
