#define OPENSSL_SUPPRESS_DEPRECATED  // SHA1_Transform: the one reference for a bare compression
#include <openssl/sha.h>

#include <gtest/gtest.h>

#include <cstring>

#include "crypto/RandomPool.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::ToHex;

// An entropy source with a fixed sequence, handing out at most `gChunk`
// bytes per call and counting its calls.
uint32_t gCalls = 0;
uint32_t gNext = 0;
uint32_t gChunk = 8;

void ResetSequence(uint32_t chunk = 8) {
    gCalls = 0;
    gNext = 0;
    gChunk = chunk;
}

uint32_t FixedSequence(uint8_t* buffer, uint32_t wanted) {
    ++gCalls;
    const uint32_t n = wanted < gChunk ? wanted : gChunk;
    for (uint32_t i = 0; i < n; ++i) {
        buffer[i] = static_cast<uint8_t>(gNext++ * 37 + 11);
    }
    return n;
}

// The stirring written out once more over the reference compression.
void ReferenceMix(uint8_t* buffer) {
    for (uint32_t i = 0; i < 260; i += 20) {
        const uint32_t previous = i == 0 ? 240 : i - 20;
        uint32_t h[5];
        for (int k = 0; k < 5; ++k) {
            const uint8_t* p = buffer + previous + 4 * k;
            h[k] = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                   (uint32_t{p[3]} << 24);
        }
        uint8_t block[64];
        for (uint32_t k = 0; k < 64; ++k) {
            block[k] = buffer[(i + k) % 260];
        }
        SHA_CTX c;
        SHA1_Init(&c);
        c.h0 = h[0];
        c.h1 = h[1];
        c.h2 = h[2];
        c.h3 = h[3];
        c.h4 = h[4];
        SHA1_Transform(&c, block);
        const uint32_t out[5] = {c.h0, c.h1, c.h2, c.h3, c.h4};
        for (int k = 0; k < 5; ++k) {
            for (int b = 0; b < 4; ++b) {
                buffer[i + 4 * k + b] = static_cast<uint8_t>(out[k] >> (8 * b));
            }
        }
    }
}

void ReferenceRefresh(Bytes& pool, Bytes& output) {
    output = pool;
    uint32_t filled = 0;
    while (filled < 260) {
        filled += FixedSequence(pool.data() + filled, 260 - filled);
    }
    for (int i = 0; i < 260; ++i) {
        pool[i] ^= static_cast<uint8_t>(~output[i]);
    }
    ReferenceMix(pool.data());
    ReferenceMix(output.data());
}

TEST(RandomPool, MixPoolStirsEachDigestFromThePreviousOne) {
    test::Random random("mixpool");
    for (int i = 0; i < 20; ++i) {
        Bytes buffer = random.Draw(260);
        Bytes expected = buffer;
        MixPool(buffer.data());
        ReferenceMix(expected.data());
        ASSERT_EQ(ToHex(buffer), ToHex(expected));
    }
}

TEST(RandomPool, InitAndRefreshFollowTheFixedEntropySequence) {
    ResetSequence();
    RandomPool pool;
    RandomPoolInit(FixedSequence, pool);
    // 260 bytes in calls of 8: 32 full ones and one of 4, twice.
    EXPECT_EQ(gCalls, 66u);
    EXPECT_EQ(pool.position, 0u);
    EXPECT_EQ(pool.source, &FixedSequence);

    ResetSequence();
    Bytes refPool(260, 0), refOutput(260, 0);
    ReferenceRefresh(refPool, refOutput);
    for (int i = 0; i < 20; ++i) {
        ReferenceMix(refPool.data());
    }
    ReferenceRefresh(refPool, refOutput);
    EXPECT_EQ(ToHex(pool.pool, 260), ToHex(refPool));
    EXPECT_EQ(ToHex(pool.output, 260), ToHex(refOutput));

    const uint32_t next = gNext;
    RefreshPool(pool);
    gNext = next;  // the reference draws the same bytes
    ReferenceRefresh(refPool, refOutput);
    EXPECT_EQ(ToHex(pool.pool, 260), ToHex(refPool));
    EXPECT_EQ(ToHex(pool.output, 260), ToHex(refOutput));
}

TEST(RandomPool, TwoPoolsOnTheSameSequenceAgree) {
    RandomPool a, b;
    ResetSequence();
    RandomPoolInit(FixedSequence, a);
    ResetSequence();
    RandomPoolInit(FixedSequence, b);
    Bytes outA(1000), outB(1000);
    ResetSequence();
    RandomPoolRead(outA.data(), outA.size(), a);
    ResetSequence();
    RandomPoolRead(outB.data(), outB.size(), b);
    EXPECT_EQ(ToHex(outA), ToHex(outB));
    EXPECT_NE(ToHex(outA.data(), 260), ToHex(outA.data() + 260, 260));
}

TEST(RandomPool, ReadingPastTheBufferRefreshesOnceAndKeepsThePosition) {
    ResetSequence();
    RandomPool pool;
    RandomPoolInit(FixedSequence, pool);
    const Bytes firstOutput(pool.output, pool.output + 260);
    gCalls = 0;
    Bytes out(308);
    RandomPoolRead(out.data(), 8, pool);
    EXPECT_EQ(gCalls, 0u);
    EXPECT_EQ(pool.position, 8u);
    RandomPoolRead(out.data() + 8, 300, pool);
    EXPECT_EQ(gCalls, 33u);  // one refresh
    EXPECT_EQ(pool.position, 48u);
    // The first 260 bytes are the output buffer that Init left, the rest
    // comes from the refreshed one.
    EXPECT_EQ(ToHex(out.data(), 260), ToHex(firstOutput));
    EXPECT_EQ(ToHex(out.data() + 260, 48), ToHex(pool.output, 48));
}

TEST(RandomPool, ASourceOfSingleBytesFillsThePool) {
    ResetSequence(1);
    RandomPool pool;
    RandomPoolInit(FixedSequence, pool);
    EXPECT_EQ(gCalls, 520u);
    ResetSequence(8);
    RandomPool other;
    RandomPoolInit(FixedSequence, other);
    // The same byte sequence, whatever the pieces it came in.
    EXPECT_EQ(ToHex(pool.output, 260), ToHex(other.output, 260));
}

TEST(RandomPool, ClearOverwritesEverything) {
    ResetSequence();
    RandomPool pool;
    RandomPoolInit(FixedSequence, pool);
    uint8_t sink[10];
    RandomPoolRead(sink, sizeof sink, pool);
    RandomPoolClear(pool);
    const RandomPool zero{};
    EXPECT_EQ(std::memcmp(&pool, &zero, sizeof pool), 0);
}

TEST(RandomPool, CounterEntropyGivesAtMostEightRisingBytes) {
    uint8_t buffer[16];
    std::memset(buffer, 0xcc, sizeof buffer);
    EXPECT_EQ(CounterEntropy(buffer, 3), 3u);
    for (int i = 3; i < 16; ++i) {
        EXPECT_EQ(buffer[i], 0xcc);
    }
    uint8_t a[8], b[8];
    EXPECT_EQ(CounterEntropy(a, 8), 8u);
    EXPECT_EQ(CounterEntropy(b, 260), 8u);
    uint64_t va = 0, vb = 0;
    for (int i = 7; i >= 0; --i) {
        va = (va << 8) | a[i];
        vb = (vb << 8) | b[i];
    }
    EXPECT_GT(va, 0u);
    EXPECT_GE(vb, va);  // least significant byte first
}

TEST(RandomPool, CounterEntropySaltsDiffer) {
    RandomPool a, b;
    RandomPoolInit(CounterEntropy, a);
    RandomPoolInit(CounterEntropy, b);
    uint8_t sa[16], sb[16];
    RandomPoolRead(sa, 16, a);
    RandomPoolRead(sb, 16, b);
    EXPECT_NE(ToHex(sa, 16), ToHex(sb, 16));
}

}  // namespace
}  // namespace zolt
