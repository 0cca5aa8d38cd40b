#pragma once

#include <cstddef>
#include <cstdint>

#include "crypto/Sha1.h"

namespace zolt {

// `keyLength` with all bits set: message data has begun.
inline constexpr uint32_t kHmacDataBegun = 0xffffffffu;
inline constexpr size_t kHmacSha1Size = 20;

// A running HMAC-SHA1.
struct HmacContext {
    uint8_t key[64];
    Sha1Context hash;
    uint32_t keyLength;
};

// Clears the whole context.
void HmacStart(HmacContext& context);
// The key, in any number of pieces; one longer than 64 bytes in total stands
// for its SHA-1 digest. Returns 0, or -1 without a change once message data
// has begun.
[[nodiscard]] int HmacAddKey(const uint8_t* key, size_t length, HmacContext& context);
// Message bytes, in any number of pieces (an empty piece also ends the key).
void HmacAdd(const uint8_t* data, size_t length, HmacContext& context);
// Writes the first `length` bytes (at most 20) of the code.
void HmacFinish(uint8_t* code, size_t length, HmacContext& context);

}  // namespace zolt
