#include "crypto/CryptContext.h"

#include <cstring>

#include "crypto/Pbkdf2.h"
#include "crypto/Wipe.h"

namespace zolt {

namespace {

// Counter bytes 0 to 7 are one little-endian 64-bit number; 8 to 15 stay 0.
inline void NextKeystreamBlock(CryptContext& context) {
    for (int i = 0; i < 8; ++i) {
        if (++context.counter[i] != 0) {
            break;
        }
    }
    // The schedule was set up for encryption by InitContext.
    static_cast<void>(AesEncryptBlock(context.counter, context.keystream, context.cipher));
    context.position = 0;
}

}  // namespace

int32_t InitContext(uint32_t mode, const uint8_t* password, uint32_t passwordLength,
                    const uint8_t* salt, uint8_t* verifier, CryptContext& context) {
    if (passwordLength > kCryptMaxPassword) {
        return CryptErrPasswordTooLong;
    }
    if (mode < 1 || mode > 3) {
        return CryptErrBadMode;
    }
    context.mode = mode;
    context.passwordLength = passwordLength;

    const uint32_t keyLength = KeyLength(mode);
    uint8_t material[2 * 32 + kCryptVerifierSize];
    StretchPassword(password, passwordLength, salt, SaltLength(mode), kCryptIterations, material,
                    2 * keyLength + kCryptVerifierSize);

    context.position = 16;
    std::memset(context.counter, 0, sizeof context.counter);
    HmacStart(context.authenticator);
    // Both take every key length that a valid mode gives.
    const bool keyed = AesSetEncryptKey(material, keyLength, context.cipher) == 1 &&
                       HmacAddKey(material + keyLength, keyLength, context.authenticator) == 0;
    verifier[0] = material[2 * keyLength];
    verifier[1] = material[2 * keyLength + 1];
    SecureZero(material, sizeof material);
    return keyed ? 0 : CryptErrBadMode;
}

void ApplyKeystream(uint8_t* data, size_t length, CryptContext& context) {
    // Up to the next block boundary byte by byte, then whole blocks, then the
    // start of the next block; the same bytes as one byte at a time.
    while (length != 0 && context.position != 16) {
        *data++ ^= context.keystream[context.position++];
        --length;
    }
    if (length >= 16) {
        const size_t blocks = length / 16;
        static_cast<void>(aes_detail::CounterBlocks(context.cipher, context.counter,
                                                    context.keystream, data, blocks));
        context.position = 16;
        data += 16 * blocks;
        length -= 16 * blocks;
    }
    if (length != 0) {
        NextKeystreamBlock(context);
        while (length != 0) {
            *data++ ^= context.keystream[context.position++];
            --length;
        }
    }
}

void EncryptData(uint8_t* data, size_t length, CryptContext& context) {
    ApplyKeystream(data, length, context);
    HmacAdd(data, length, context.authenticator);
}

void DecryptData(uint8_t* data, size_t length, CryptContext& context) {
    HmacAdd(data, length, context.authenticator);
    ApplyKeystream(data, length, context);
}

int FinishMac(uint8_t* code, CryptContext& context) {
    HmacFinish(code, kCryptMacSize, context.authenticator);
    return static_cast<int>(kCryptMacSize);
}

}  // namespace zolt
