#include "crypto/Hmac.h"

#include <cstring>

namespace zolt {

namespace {

constexpr uint8_t kInnerPad = 0x36;
constexpr uint8_t kOuterPad = 0x5c;

// Ends the key: the key block becomes key XOR ipad and the inner hash starts
// with it.
void BeginData(HmacContext& context) {
    if (context.keyLength > kSha1BlockSize) {
        Sha1Finish(context.key, context.hash);
        std::memset(context.key + kSha1DigestSize, 0, kSha1BlockSize - kSha1DigestSize);
    }
    for (uint8_t& b : context.key) {
        b ^= kInnerPad;
    }
    Sha1Start(context.hash);
    Sha1Add(context.key, kSha1BlockSize, context.hash);
    context.keyLength = kHmacDataBegun;
}

}  // namespace

void HmacStart(HmacContext& context) {
    std::memset(&context, 0, sizeof context);
}

int HmacAddKey(const uint8_t* key, size_t length, HmacContext& context) {
    if (context.keyLength == kHmacDataBegun) {
        return -1;
    }
    const uint64_t total = uint64_t{context.keyLength} + length;
    if (total > kSha1BlockSize) {
        // Too long for the key block: from here on the key is hashed.
        if (context.keyLength <= kSha1BlockSize) {
            Sha1Start(context.hash);
            Sha1Add(context.key, context.keyLength, context.hash);
        }
        Sha1Add(key, length, context.hash);
    } else if (length != 0) {
        std::memcpy(context.key + context.keyLength, key, length);
    }
    // The count only needs to tell short keys from long ones, so it stops
    // below the data mark.
    context.keyLength = total >= kHmacDataBegun ? kHmacDataBegun - 1 : static_cast<uint32_t>(total);
    return 0;
}

void HmacAdd(const uint8_t* data, size_t length, HmacContext& context) {
    if (context.keyLength != kHmacDataBegun) {
        BeginData(context);
    }
    Sha1Add(data, length, context.hash);
}

void HmacFinish(uint8_t* code, size_t length, HmacContext& context) {
    if (context.keyLength != kHmacDataBegun) {
        BeginData(context);
    }
    uint8_t digest[kSha1DigestSize];
    Sha1Finish(digest, context.hash);
    for (uint8_t& b : context.key) {
        b ^= kInnerPad ^ kOuterPad;
    }
    Sha1Start(context.hash);
    Sha1Add(context.key, kSha1BlockSize, context.hash);
    Sha1Add(digest, kSha1DigestSize, context.hash);
    Sha1Finish(digest, context.hash);
    std::memcpy(code, digest, length < kSha1DigestSize ? length : kSha1DigestSize);
}

}  // namespace zolt
