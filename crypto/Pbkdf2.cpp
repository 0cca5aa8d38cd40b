#include "crypto/Pbkdf2.h"

#include <cstring>

#include "crypto/Hmac.h"
#include "crypto/Sha1.h"
#include "crypto/Wipe.h"

namespace zolt {

namespace {

inline void Store32(uint8_t* p, uint32_t w) {
    p[0] = static_cast<uint8_t>(w >> 24);
    p[1] = static_cast<uint8_t>(w >> 16);
    p[2] = static_cast<uint8_t>(w >> 8);
    p[3] = static_cast<uint8_t>(w);
}

// The padded last block of a hash over one 64-byte block and a 20-byte
// digest: digest words, the 0x80 marker, zeros, and the length 84 * 8 bits.
// Both hashes of every iteration after the first have exactly this shape.
struct DigestBlock {
    uint32_t words[16] = {0, 0, 0, 0, 0, 0x80000000u, 0, 0, 0, 0, 0, 0, 0, 0, 0, 84 * 8};
};

// HMAC of a 20-byte message from the chaining values after the inner and the
// outer key block; `words` holds the message on entry and the code on return.
inline void HmacOfDigest(const uint32_t* inner, const uint32_t* outer, DigestBlock& block) {
    uint32_t h[5];
    std::memcpy(h, inner, sizeof h);
    sha1_detail::CompressWords(h, block.words);
    std::memcpy(block.words, h, sizeof h);
    std::memcpy(h, outer, sizeof h);
    sha1_detail::CompressWords(h, block.words);
    std::memcpy(block.words, h, sizeof h);
}

}  // namespace

void StretchPassword(const uint8_t* password, size_t passwordLength, const uint8_t* salt,
                     size_t saltLength, uint32_t iterations, uint8_t* output, size_t outputLength) {
    // Keyed once: after HmacAdd of nothing, the hash holds the state after
    // the inner key block and the key block is key XOR ipad.
    HmacContext keyed;
    HmacStart(keyed);
    // A fresh context takes a key of any length.
    static_cast<void>(HmacAddKey(password, passwordLength, keyed));
    HmacAdd(nullptr, 0, keyed);
    // The outer hash after its key block, prepared once too.
    uint8_t outerBlock[kSha1BlockSize];
    for (size_t i = 0; i < kSha1BlockSize; ++i) {
        outerBlock[i] = keyed.key[i] ^ (0x36 ^ 0x5c);
    }
    Sha1Context outer;
    Sha1Start(outer);
    Sha1Add(outerBlock, kSha1BlockSize, outer);
    // Salted once.
    HmacContext salted = keyed;
    HmacAdd(salt, saltLength, salted);

    for (uint32_t blockNumber = 1; outputLength != 0; ++blockNumber) {
        HmacContext first = salted;
        uint8_t number[4];
        Store32(number, blockNumber);
        HmacAdd(number, 4, first);
        uint8_t u[kSha1DigestSize];
        HmacFinish(u, kSha1DigestSize, first);

        DigestBlock block;
        uint32_t sum[5];
        for (int i = 0; i < 5; ++i) {
            block.words[i] = (uint32_t{u[4 * i]} << 24) | (uint32_t{u[4 * i + 1]} << 16) |
                             (uint32_t{u[4 * i + 2]} << 8) | uint32_t{u[4 * i + 3]};
            sum[i] = block.words[i];
        }
        for (uint32_t round = 1; round < iterations; ++round) {
            HmacOfDigest(keyed.hash.hash, outer.hash, block);
            for (int i = 0; i < 5; ++i) {
                sum[i] ^= block.words[i];
            }
        }
        for (int i = 0; i < 5; ++i) {
            Store32(u + 4 * i, sum[i]);
        }
        const size_t take = outputLength < kSha1DigestSize ? outputLength : kSha1DigestSize;
        std::memcpy(output, u, take);
        output += take;
        outputLength -= take;
        SecureZero(&first, sizeof first);
        SecureZero(&block, sizeof block);
        SecureZero(sum, sizeof sum);
        SecureZero(u, sizeof u);
    }
    SecureZero(&keyed, sizeof keyed);
    SecureZero(&salted, sizeof salted);
    SecureZero(&outer, sizeof outer);
    SecureZero(outerBlock, sizeof outerBlock);
}

}  // namespace zolt
