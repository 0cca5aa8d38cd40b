#include "crypto/Sha1.h"

#include <cstring>

#include "crypto/Endian.h"

namespace zolt {

namespace {

inline uint32_t Rotl(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

inline uint32_t Ch(uint32_t b, uint32_t c, uint32_t d) {
    return d ^ (b & (c ^ d));
}
inline uint32_t Parity(uint32_t b, uint32_t c, uint32_t d) {
    return b ^ c ^ d;
}
inline uint32_t Maj(uint32_t b, uint32_t c, uint32_t d) {
    return (b & c) | (d & (b | c));
}

// The message schedule kept in a ring of sixteen words.
#define ZOLT_SHA1_W(t) \
    (w[(t)&15] = Rotl(w[((t) + 13) & 15] ^ w[((t) + 8) & 15] ^ w[((t) + 2) & 15] ^ w[(t)&15], 1))

// One step; the five variables rotate by naming instead of by moves.
#define ZOLT_SHA1_STEP(f, k, wt, a, b, c, d, e) \
    e += Rotl(a, 5) + f(b, c, d) + (k) + (wt);  \
    b = Rotl(b, 30)

#define ZOLT_SHA1_FIVE(f, k, W, t)                 \
    ZOLT_SHA1_STEP(f, k, W(t), a, b, c, d, e);     \
    ZOLT_SHA1_STEP(f, k, W(t + 1), e, a, b, c, d); \
    ZOLT_SHA1_STEP(f, k, W(t + 2), d, e, a, b, c); \
    ZOLT_SHA1_STEP(f, k, W(t + 3), c, d, e, a, b); \
    ZOLT_SHA1_STEP(f, k, W(t + 4), b, c, d, e, a)

#define ZOLT_SHA1_W0(t) w[t]

constexpr uint32_t kK1 = 0x5a827999;
constexpr uint32_t kK2 = 0x6ed9eba1;
constexpr uint32_t kK3 = 0x8f1bbcdc;
constexpr uint32_t kK4 = 0xca62c1d6;

inline void Compress(uint32_t* hash, uint32_t* w) {
    uint32_t a = hash[0], b = hash[1], c = hash[2], d = hash[3], e = hash[4];
    ZOLT_SHA1_FIVE(Ch, kK1, ZOLT_SHA1_W0, 0);
    ZOLT_SHA1_FIVE(Ch, kK1, ZOLT_SHA1_W0, 5);
    ZOLT_SHA1_FIVE(Ch, kK1, ZOLT_SHA1_W0, 10);
    ZOLT_SHA1_STEP(Ch, kK1, w[15], a, b, c, d, e);
    ZOLT_SHA1_STEP(Ch, kK1, ZOLT_SHA1_W(16), e, a, b, c, d);
    ZOLT_SHA1_STEP(Ch, kK1, ZOLT_SHA1_W(17), d, e, a, b, c);
    ZOLT_SHA1_STEP(Ch, kK1, ZOLT_SHA1_W(18), c, d, e, a, b);
    ZOLT_SHA1_STEP(Ch, kK1, ZOLT_SHA1_W(19), b, c, d, e, a);
    ZOLT_SHA1_FIVE(Parity, kK2, ZOLT_SHA1_W, 20);
    ZOLT_SHA1_FIVE(Parity, kK2, ZOLT_SHA1_W, 25);
    ZOLT_SHA1_FIVE(Parity, kK2, ZOLT_SHA1_W, 30);
    ZOLT_SHA1_FIVE(Parity, kK2, ZOLT_SHA1_W, 35);
    ZOLT_SHA1_FIVE(Maj, kK3, ZOLT_SHA1_W, 40);
    ZOLT_SHA1_FIVE(Maj, kK3, ZOLT_SHA1_W, 45);
    ZOLT_SHA1_FIVE(Maj, kK3, ZOLT_SHA1_W, 50);
    ZOLT_SHA1_FIVE(Maj, kK3, ZOLT_SHA1_W, 55);
    ZOLT_SHA1_FIVE(Parity, kK4, ZOLT_SHA1_W, 60);
    ZOLT_SHA1_FIVE(Parity, kK4, ZOLT_SHA1_W, 65);
    ZOLT_SHA1_FIVE(Parity, kK4, ZOLT_SHA1_W, 70);
    ZOLT_SHA1_FIVE(Parity, kK4, ZOLT_SHA1_W, 75);
    hash[0] += a;
    hash[1] += b;
    hash[2] += c;
    hash[3] += d;
    hash[4] += e;
}

#undef ZOLT_SHA1_W
#undef ZOLT_SHA1_W0
#undef ZOLT_SHA1_STEP
#undef ZOLT_SHA1_FIVE

void AddCount(Sha1Context& context, size_t length) {
    const uint64_t total =
        ((uint64_t{context.count[1]} << 32) | context.count[0]) + static_cast<uint64_t>(length);
    context.count[0] = static_cast<uint32_t>(total);
    context.count[1] = static_cast<uint32_t>(total >> 32);
}

}  // namespace

namespace sha1_detail {

void CompressWords(uint32_t* hash, const uint32_t* words) {
    uint32_t w[16];
    std::memcpy(w, words, sizeof w);
    Compress(hash, w);
}

void CompressBytes(uint32_t* hash, const uint8_t* block) {
    uint32_t w[16];
    for (int i = 0; i < 16; ++i) {
        w[i] = Load32(block + 4 * i);
    }
    Compress(hash, w);
}

}  // namespace sha1_detail

void Sha1Start(Sha1Context& context) {
    context.count[0] = 0;
    context.count[1] = 0;
    context.hash[0] = 0x67452301;
    context.hash[1] = 0xefcdab89;
    context.hash[2] = 0x98badcfe;
    context.hash[3] = 0x10325476;
    context.hash[4] = 0xc3d2e1f0;
}

void Sha1Compress(Sha1Context& context) {
    sha1_detail::CompressBytes(context.hash, context.buffer);
}

void Sha1Add(const uint8_t* data, size_t length, Sha1Context& context) {
    if (length == 0) {
        return;
    }
    size_t used = context.count[0] & 63;
    AddCount(context, length);
    if (used != 0) {
        const size_t take = length < 64 - used ? length : 64 - used;
        std::memcpy(context.buffer + used, data, take);
        data += take;
        length -= take;
        used += take;
        if (used < 64) {
            return;
        }
        Sha1Compress(context);
    }
    // Whole blocks straight from the input, the rest waits in the buffer.
    while (length >= 64) {
        sha1_detail::CompressBytes(context.hash, data);
        data += 64;
        length -= 64;
    }
    if (length != 0) {
        std::memcpy(context.buffer, data, length);
    }
}

void Sha1Finish(uint8_t* digest, Sha1Context& context) {
    size_t used = context.count[0] & 63;
    const uint32_t bitsHigh = (context.count[1] << 3) | (context.count[0] >> 29);
    const uint32_t bitsLow = context.count[0] << 3;
    context.buffer[used++] = 0x80;
    if (used > 56) {
        std::memset(context.buffer + used, 0, 64 - used);
        Sha1Compress(context);
        used = 0;
    }
    std::memset(context.buffer + used, 0, 56 - used);
    Store32(context.buffer + 56, bitsHigh);
    Store32(context.buffer + 60, bitsLow);
    Sha1Compress(context);
    for (int i = 0; i < 5; ++i) {
        Store32(digest + 4 * i, context.hash[i]);
    }
}

}  // namespace zolt
