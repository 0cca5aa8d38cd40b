#pragma once

#include <cstddef>
#include <cstdint>

namespace zolt {

// PBKDF2 with HMAC-SHA1: fills exactly `outputLength` bytes of `output`.
void StretchPassword(const uint8_t* password, size_t passwordLength, const uint8_t* salt,
                     size_t saltLength, uint32_t iterations, uint8_t* output, size_t outputLength);

}  // namespace zolt
