#include "crypto/Encryption.h"

#include <algorithm>

#include "crypto/Wipe.h"

namespace zolt {

namespace {

// Compares all bytes whatever the first difference, so the time taken does
// not tell how much of a forged code was right.
bool SameBytes(const uint8_t* a, const uint8_t* b, size_t length) {
    uint8_t diff = 0;
    for (size_t i = 0; i < length; ++i) {
        diff |= static_cast<uint8_t>(a[i] ^ b[i]);
    }
    return diff == 0;
}

bool WriteAll(ByteStream& stream, const uint8_t* data, int64_t count) {
    return stream.Write(data, count) == count;
}

}  // namespace

TEncryption::TEncryption(const std::string& password, int32_t bufferSize)
    : TCrypt(password, bufferSize) {
    RandomPoolInit(CounterEntropy, saltSource_);
}

TEncryption::~TEncryption() {
    RandomPoolClear(saltSource_);
}

bool TEncryption::EncryptStream(ByteStream& source, ByteStream& destination) {
    const uint32_t saltLength = SaltLength(keyMode_);
    uint8_t salt[16];
    uint8_t verifier[kCryptVerifierSize];
    RandomPoolRead(salt, saltLength, saltSource_);
    if (password_.size() > kCryptMaxPassword || bufferSize_ < 1 ||
        InitContext(keyMode_, reinterpret_cast<const uint8_t*>(password_.data()),
                    static_cast<uint32_t>(password_.size()), salt, verifier, context_) != 0) {
        return false;
    }
    if (!WriteAll(destination, salt, saltLength) ||
        !WriteAll(destination, verifier, kCryptVerifierSize)) {
        return false;
    }
    uint8_t* buffer = buffer_.get();
    for (;;) {
        const int64_t n = source.Read(buffer, bufferSize_);
        if (n < 0) {
            return false;
        }
        EncryptBuffer(buffer, static_cast<int32_t>(n));
        if (!WriteAll(destination, buffer, n)) {
            return false;
        }
        if (n < bufferSize_) {
            break;
        }
    }
    uint8_t code[kCryptMacSize];
    FinishMac(code, context_);
    return WriteAll(destination, code, kCryptMacSize);
}

bool TEncryption::DecryptStream(ByteStream& source, ByteStream& destination, int64_t size) {
    const uint32_t saltLength = SaltLength(keyMode_);
    if (size < static_cast<int64_t>(saltLength + kCryptVerifierSize + kCryptMacSize) ||
        password_.size() > kCryptMaxPassword || bufferSize_ < 1) {
        return false;
    }
    uint8_t salt[16];
    if (source.Read(salt, saltLength) != saltLength) {
        return false;
    }
    uint8_t verifier[kCryptVerifierSize];
    if (InitContext(keyMode_, reinterpret_cast<const uint8_t*>(password_.data()),
                    static_cast<uint32_t>(password_.size()), salt, verifier, context_) != 0) {
        return false;
    }
    uint8_t stored[kCryptVerifierSize];
    if (source.Read(stored, kCryptVerifierSize) != kCryptVerifierSize || stored[0] != verifier[0] ||
        stored[1] != verifier[1]) {
        return false;
    }

    int64_t remaining = size - saltLength - kCryptVerifierSize - kCryptMacSize;
    uint8_t* buffer = buffer_.get();
    do {
        const int64_t chunk = std::min<int64_t>(bufferSize_, remaining);
        const int64_t n = source.Read(buffer, chunk);
        if (n < 0 || (n == 0 && remaining > 0)) {
            return false;
        }
        DecryptBuffer(buffer, static_cast<int32_t>(n));
        if (!WriteAll(destination, buffer, n)) {
            return false;
        }
        remaining -= n;
    } while (remaining > 0);

    uint8_t expected[kCryptMacSize];
    FinishMac(expected, context_);
    uint8_t code[kCryptMacSize];
    const bool match = source.Read(code, kCryptMacSize) == kCryptMacSize &&
                       SameBytes(code, expected, kCryptMacSize);
    SecureZero(expected, sizeof expected);
    return match;
}

}  // namespace zolt
