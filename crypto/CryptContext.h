#pragma once

#include <cstddef>
#include <cstdint>

#include "crypto/Aes.h"
#include "crypto/Hmac.h"

namespace zolt {

// The key mode fixes the AES key length (8 * mode + 8 bytes) and the salt
// length (4 * mode + 4 bytes).
enum KeyMode : int32_t {
    KeyMode128 = 1,
    KeyMode192 = 2,
    KeyMode256 = 3,
};

inline constexpr int32_t CryptErrPasswordTooLong = -100;
inline constexpr int32_t CryptErrBadMode = -101;

inline constexpr uint32_t kCryptMaxPassword = 128;
inline constexpr uint32_t kCryptVerifierSize = 2;
inline constexpr uint32_t kCryptMacSize = 10;
inline constexpr uint32_t kCryptIterations = 1000;

constexpr uint32_t KeyLength(uint32_t mode) {
    return 8 * mode + 8;
}
constexpr uint32_t SaltLength(uint32_t mode) {
    return 4 * mode + 4;
}
// Mode 1 below 32 password bytes, 2 up to 47, 3 from 48 on.
constexpr KeyMode KeyModeFor(size_t passwordLength) {
    return passwordLength < 32 ? KeyMode128 : passwordLength < 48 ? KeyMode192 : KeyMode256;
}

// The keyed state of one encryption or decryption run.
struct CryptContext {
    uint8_t counter[16];
    uint8_t keystream[16];  // AES of the counter block
    AesSchedule cipher;
    HmacContext authenticator;
    uint32_t position;  // next keystream byte; 16 when none is left
    uint32_t passwordLength;
    uint32_t mode;
};

// Derives the AES key, the HMAC key and the 2-byte verifier from the password
// and the salt (SaltLength(mode) bytes). Returns 0, CryptErrPasswordTooLong
// for more than 128 password bytes, or CryptErrBadMode for a mode outside
// 1..3; nothing is stored on an error.
[[nodiscard]] int32_t InitContext(uint32_t mode, const uint8_t* password, uint32_t passwordLength,
                                  const uint8_t* salt, uint8_t* verifier, CryptContext& context);
// Counter mode in place; the authenticator takes the encrypted bytes.
void ApplyKeystream(uint8_t* data, size_t length, CryptContext& context);
void EncryptData(uint8_t* data, size_t length, CryptContext& context);
void DecryptData(uint8_t* data, size_t length, CryptContext& context);
// Writes the 10-byte authentication code and returns 10.
int FinishMac(uint8_t* code, CryptContext& context);

}  // namespace zolt
