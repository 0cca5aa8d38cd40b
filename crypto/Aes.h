#pragma once

#include <cstddef>
#include <cstdint>

namespace zolt {

// An AES key schedule. `blockDirection` holds the block size 16 in its upper
// bits and the direction in the two lowest: 17 for encryption, 18 for
// decryption; a refused key set-up leaves 16 and a round count of 0.
struct AesSchedule {
    uint32_t roundKeys[64];  // 4 * (rounds + 1) used, most significant byte first
    uint32_t rounds;         // 10, 12 or 14
    uint32_t blockDirection;
};

inline constexpr uint32_t kAesBlockSize = 16;
inline constexpr uint32_t kAesDirectionEncrypt = 1;
inline constexpr uint32_t kAesDirectionDecrypt = 2;

// Key length in bytes (16, 24, 32) or in bits (128, 192, 256). Returns 1, or
// 0 for any other length.
[[nodiscard]] int AesSetEncryptKey(const uint8_t* key, uint32_t keyLength, AesSchedule& schedule);
[[nodiscard]] int AesSetDecryptKey(const uint8_t* key, uint32_t keyLength, AesSchedule& schedule);

// One 16-byte block; `in` and `out` may be the same bytes. Returns 1, or 0
// without writing when the schedule is not set up for that direction.
[[nodiscard]] int AesEncryptBlock(const uint8_t* in, uint8_t* out, const AesSchedule& schedule);
[[nodiscard]] int AesDecryptBlock(const uint8_t* in, uint8_t* out, const AesSchedule& schedule);

namespace aes_detail {
// Counter mode over `blocks` whole blocks of `data`: for each, counter bytes
// 0 to 7 as a little-endian number go up by 1, the counter block is
// encrypted into `keystream` and XORed into the next 16 data bytes. False
// without a change when the schedule is not set up for encryption.
[[nodiscard]] bool CounterBlocks(const AesSchedule& schedule, uint8_t* counter, uint8_t* keystream,
                                 uint8_t* data, size_t blocks);
}  // namespace aes_detail

}  // namespace zolt
