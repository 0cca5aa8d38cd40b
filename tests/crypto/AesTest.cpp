#include <gtest/gtest.h>

#include <cstring>

#include "crypto/Aes.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::FromHex;
using test::ToHex;

struct AesVector {
    const char* key;
    const char* cipher;
    uint32_t rounds;
};

// FIPS-197 Appendix C: plain text 00112233...ff under the keys 000102...
const AesVector kAppendixC[] = {
    {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a", 10},
    {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191", 12},
    {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
     "8ea2b7ca516745bfeafc49904b496089", 14},
};
const char kAppendixCPlain[] = "00112233445566778899aabbccddeeff";

TEST(Aes, AppendixCWithLengthInBytesAndInBits) {
    for (const AesVector& v : kAppendixC) {
        const Bytes key = FromHex(v.key);
        const Bytes plain = FromHex(kAppendixCPlain);
        for (const uint32_t length :
             {static_cast<uint32_t>(key.size()), static_cast<uint32_t>(8 * key.size())}) {
            SCOPED_TRACE(length);
            AesSchedule enc;
            ASSERT_EQ(AesSetEncryptKey(key.data(), length, enc), 1);
            EXPECT_EQ(enc.rounds, v.rounds);
            EXPECT_EQ(enc.blockDirection, 17u);
            uint8_t out[16];
            ASSERT_EQ(AesEncryptBlock(plain.data(), out, enc), 1);
            EXPECT_EQ(ToHex(out, 16), v.cipher);

            AesSchedule dec;
            ASSERT_EQ(AesSetDecryptKey(key.data(), length, dec), 1);
            EXPECT_EQ(dec.rounds, v.rounds);
            EXPECT_EQ(dec.blockDirection, 18u);
            uint8_t back[16];
            ASSERT_EQ(AesDecryptBlock(out, back, dec), 1);
            EXPECT_EQ(ToHex(back, 16), kAppendixCPlain);
        }
    }
}

TEST(Aes, InputAndOutputMayBeTheSameBytes) {
    const Bytes key = FromHex(kAppendixC[2].key);
    uint8_t block[16];
    std::memcpy(block, FromHex(kAppendixCPlain).data(), 16);
    AesSchedule enc, dec;
    ASSERT_EQ(AesSetEncryptKey(key.data(), 32, enc), 1);
    ASSERT_EQ(AesSetDecryptKey(key.data(), 32, dec), 1);
    ASSERT_EQ(AesEncryptBlock(block, block, enc), 1);
    EXPECT_EQ(ToHex(block, 16), kAppendixC[2].cipher);
    ASSERT_EQ(AesDecryptBlock(block, block, dec), 1);
    EXPECT_EQ(ToHex(block, 16), kAppendixCPlain);
}

// FIPS-197 Appendix A: the expansion of the example keys, words most
// significant byte first.
TEST(Aes, KeyExpansionMatchesAppendixA) {
    struct Expansion {
        const char* key;
        uint32_t words;
        uint32_t firstDerived;
        uint32_t last;
    };
    const Expansion cases[] = {
        {"2b7e151628aed2a6abf7158809cf4f3c", 44, 0xa0fafe17, 0xb6630ca6},
        {"8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b", 52, 0xfe0c91f7, 0x01002202},
        {"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4", 60, 0x9ba35411,
         0x706c631e},
    };
    for (const Expansion& c : cases) {
        const Bytes key = FromHex(c.key);
        AesSchedule s;
        ASSERT_EQ(AesSetEncryptKey(key.data(), static_cast<uint32_t>(key.size()), s), 1);
        EXPECT_EQ(s.roundKeys[0], (uint32_t{key[0]} << 24) | (uint32_t{key[1]} << 16) |
                                      (uint32_t{key[2]} << 8) | key[3]);
        EXPECT_EQ(s.roundKeys[key.size() / 4], c.firstDerived);
        EXPECT_EQ(s.roundKeys[c.words - 1], c.last);
    }
}

TEST(Aes, RefusedKeyLengthsLeaveAScheduleThatWritesNothing) {
    const Bytes key(257, 0x5a);
    for (const uint32_t length : {0u, 8u, 15u, 17u, 20u, 33u, 64u, 100u, 127u, 129u, 200u, 257u}) {
        SCOPED_TRACE(length);
        AesSchedule s;
        // Set up once properly first: the refusal must undo it.
        ASSERT_EQ(AesSetEncryptKey(key.data(), 16, s), 1);
        EXPECT_EQ(AesSetEncryptKey(key.data(), length, s), 0);
        EXPECT_EQ(s.rounds, 0u);
        EXPECT_EQ(s.blockDirection, 16u);
        uint8_t in[16] = {1, 2, 3};
        uint8_t out[16];
        std::memset(out, 0xee, sizeof out);
        EXPECT_EQ(AesEncryptBlock(in, out, s), 0);
        EXPECT_EQ(ToHex(out, 16), std::string(32, 'e'));

        ASSERT_EQ(AesSetDecryptKey(key.data(), 16, s), 1);
        EXPECT_EQ(AesSetDecryptKey(key.data(), length, s), 0);
        EXPECT_EQ(s.rounds, 0u);
        EXPECT_EQ(s.blockDirection, 16u);
        EXPECT_EQ(AesDecryptBlock(in, out, s), 0);
        EXPECT_EQ(ToHex(out, 16), std::string(32, 'e'));
    }
}

TEST(Aes, ABlockCallForTheOtherDirectionIsRefused) {
    const Bytes key = FromHex(kAppendixC[0].key);
    AesSchedule enc, dec;
    ASSERT_EQ(AesSetEncryptKey(key.data(), 128, enc), 1);
    ASSERT_EQ(AesSetDecryptKey(key.data(), 128, dec), 1);
    uint8_t in[16] = {};
    uint8_t out[16];
    std::memset(out, 0x77, sizeof out);
    EXPECT_EQ(AesEncryptBlock(in, out, dec), 0);
    EXPECT_EQ(AesDecryptBlock(in, out, enc), 0);
    EXPECT_EQ(ToHex(out, 16), std::string(32, '7'));
}

TEST(Aes, RandomKeysAndBlocksAgreeWithOpenSsl) {
    test::Random random("aes");
    for (int i = 0; i < 3000; ++i) {
        const uint32_t bytes = 16 + 8 * random.Below(3);
        const bool inBits = random.Below(2) == 1;
        const Bytes key = random.Draw(bytes);
        const Bytes block = random.Draw(16);
        AesSchedule enc, dec;
        ASSERT_EQ(AesSetEncryptKey(key.data(), inBits ? 8 * bytes : bytes, enc), 1);
        ASSERT_EQ(AesSetDecryptKey(key.data(), inBits ? 8 * bytes : bytes, dec), 1);
        uint8_t out[16];
        ASSERT_EQ(AesEncryptBlock(block.data(), out, enc), 1);
        ASSERT_EQ(ToHex(out, 16), ToHex(test::OpenSslAesEcb(key, block, true)))
            << "key " << ToHex(key) << " block " << ToHex(block);
        ASSERT_EQ(AesDecryptBlock(block.data(), out, dec), 1);
        ASSERT_EQ(ToHex(out, 16), ToHex(test::OpenSslAesEcb(key, block, false)))
            << "key " << ToHex(key) << " block " << ToHex(block);
    }
}

}  // namespace
}  // namespace zolt
