#include <gtest/gtest.h>

#include <cstring>

#include "crypto/CryptContext.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::ToBytes;
using test::ToHex;

struct Keyed {
    CryptContext context;
    Bytes material;  // AES key, HMAC key, verifier
    uint8_t verifier[2];
};

Keyed Init(uint32_t mode, const Bytes& password, const Bytes& salt, bool withReference = true) {
    Keyed k;
    EXPECT_EQ(InitContext(mode, password.data(), static_cast<uint32_t>(password.size()),
                          salt.data(), k.verifier, k.context),
              0);
    if (withReference) {
        k.material = test::OpenSslPbkdf2(password, salt, 1000, 2 * KeyLength(mode) + 2);
    }
    return k;
}

// Block n of the keystream: n as 8 little-endian bytes, then 8 zero bytes.
Bytes CounterBlock(uint64_t n) {
    Bytes block(16, 0);
    for (int i = 0; i < 8; ++i) {
        block[i] = static_cast<uint8_t>(n >> (8 * i));
    }
    return block;
}

Bytes ReferenceKeystream(const Bytes& aesKey, size_t length) {
    Bytes stream;
    for (uint64_t n = 1; stream.size() < length; ++n) {
        const Bytes block = test::OpenSslAesEcb(aesKey, CounterBlock(n), true);
        stream.insert(stream.end(), block.begin(), block.end());
    }
    stream.resize(length);
    return stream;
}

TEST(CryptContext, RefusalsComeInOrderAndStoreNothing) {
    const Bytes salt(16, 7);
    const Bytes longPassword(129, 'p');
    const Bytes password = ToBytes("wvnxqzrtbm");
    struct Case {
        uint32_t mode;
        const Bytes* password;
        int32_t result;
    };
    const Case cases[] = {
        {1, &longPassword, CryptErrPasswordTooLong},
        {0, &longPassword, CryptErrPasswordTooLong},  // the length is tested first
        {0, &password, CryptErrBadMode},
        {4, &password, CryptErrBadMode},
        {0xffffffffu, &password, CryptErrBadMode},
    };
    for (const Case& c : cases) {
        CryptContext context;
        std::memset(&context, 0xa5, sizeof context);
        const CryptContext before = context;
        uint8_t verifier[2] = {0x11, 0x22};
        EXPECT_EQ(InitContext(c.mode, c.password->data(), static_cast<uint32_t>(c.password->size()),
                              salt.data(), verifier, context),
                  c.result);
        EXPECT_EQ(std::memcmp(&context, &before, sizeof context), 0);
        EXPECT_EQ(verifier[0], 0x11);
        EXPECT_EQ(verifier[1], 0x22);
    }
    EXPECT_EQ(CryptErrPasswordTooLong, -100);
    EXPECT_EQ(CryptErrBadMode, -101);
}

TEST(CryptContext, InitSplitsTheDerivedMaterialIntoKeysAndVerifier) {
    for (uint32_t mode = 1; mode <= 3; ++mode) {
        SCOPED_TRACE(mode);
        const Bytes password(mode == 3 ? 128 : 10 * mode, 'x');  // 128 bytes are allowed
        const Bytes salt = test::Random("salt").Draw(SaltLength(mode));
        const Keyed k = Init(mode, password, salt);
        const uint32_t K = KeyLength(mode);
        EXPECT_EQ(k.context.mode, mode);
        EXPECT_EQ(k.context.passwordLength, password.size());
        EXPECT_EQ(k.context.position, 16u);
        EXPECT_EQ(ToHex(k.context.counter, 16), std::string(32, '0'));
        EXPECT_EQ(k.context.cipher.blockDirection, 17u);
        EXPECT_EQ(k.context.cipher.rounds, 6 + K / 4);
        EXPECT_EQ(k.verifier[0], k.material[2 * K]);
        EXPECT_EQ(k.verifier[1], k.material[2 * K + 1]);
        AesSchedule expected;
        ASSERT_EQ(AesSetEncryptKey(k.material.data(), K, expected), 1);
        for (uint32_t i = 0; i < 4 * (expected.rounds + 1); ++i) {
            ASSERT_EQ(k.context.cipher.roundKeys[i], expected.roundKeys[i]) << i;
        }
    }
}

TEST(CryptContext, CounterModeKeystreamAndCodeMatchTheReference) {
    const Bytes password = ToBytes("wvnxqzrtbm");
    const Bytes salt = {9, 8, 7, 6, 5, 4, 3, 2};
    Keyed k = Init(1, password, salt);
    const Bytes aesKey(k.material.begin(), k.material.begin() + 16);
    const Bytes hmacKey(k.material.begin() + 16, k.material.begin() + 32);

    // 300 blocks reach past the carry into counter byte 1 at block 256.
    const size_t length = 16 * 300 + 5;
    const Bytes plain = test::Random("ctr").Draw(length);
    Bytes data = plain;
    EncryptData(data.data(), data.size(), k.context);
    const Bytes stream = ReferenceKeystream(aesKey, length);
    for (size_t i = 0; i < length; ++i) {
        ASSERT_EQ(data[i], plain[i] ^ stream[i]) << "byte " << i;
    }
    // Blocks 1 to 301 were used, 5 bytes of the last one.
    EXPECT_EQ(ToHex(k.context.counter, 16), ToHex(CounterBlock(301)));
    EXPECT_EQ(k.context.position, 5u);

    uint8_t code[11];
    std::memset(code, 0xcc, sizeof code);
    EXPECT_EQ(FinishMac(code, k.context), 10);
    EXPECT_EQ(code[10], 0xcc);
    EXPECT_EQ(ToHex(code, 10), ToHex(test::OpenSslHmacSha1(hmacKey, data)).substr(0, 20));
}

TEST(CryptContext, Block256CarriesIntoCounterByteOne) {
    const Bytes salt(8, 1);
    Keyed k = Init(1, ToBytes("pw"), salt);
    Bytes zeros(16 * 256, 0);
    EncryptData(zeros.data(), zeros.size(), k.context);
    const Bytes expectedCounter = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ToHex(k.context.counter, 16), ToHex(expectedCounter));
    const Bytes aesKey(k.material.begin(), k.material.begin() + 16);
    EXPECT_EQ(ToHex(zeros.data() + 16 * 255, 16),
              ToHex(test::OpenSslAesEcb(aesKey, expectedCounter, true)));
}

// Long runs and carries across several counter bytes, for every key size:
// the counter is set forward by hand and the keystream compared block by
// block with AES of the expected counter values.
TEST(CryptContext, KeystreamFollowsTheCounterAcrossCarriesForEveryKeySize) {
    const uint64_t starts[] = {0, 0xfd, 0xfffe, 0xfffffffffffffff0u};
    for (uint32_t mode = 1; mode <= 3; ++mode) {
        Keyed k = Init(mode, ToBytes("carry"), Bytes(SaltLength(mode), 3));
        const Bytes aesKey(k.material.begin(), k.material.begin() + KeyLength(mode));
        for (const uint64_t start : starts) {
            for (const size_t lead : {0u, 5u}) {
                SCOPED_TRACE(testing::Message() << mode << " " << start << " " << lead);
                CryptContext c = k.context;
                const Bytes counter = CounterBlock(start);
                std::memcpy(c.counter, counter.data(), 16);
                c.position = 16;
                Bytes data(lead + 16 * 20 + 3, 0);
                ApplyKeystream(data.data(), lead, c);
                ApplyKeystream(data.data() + lead, data.size() - lead, c);
                for (size_t i = 0; i < data.size(); ++i) {
                    const Bytes block =
                        test::OpenSslAesEcb(aesKey, CounterBlock(start + 1 + i / 16), true);
                    ASSERT_EQ(data[i], block[i % 16]) << "byte " << i;
                }
            }
        }
    }
}

TEST(CryptContext, EveryShortLengthRoundTrips) {
    const Keyed k = Init(1, ToBytes("wvnxqzrtbm"), Bytes(8, 0x42), false);
    test::Random random("short-lengths");
    for (size_t length = 0; length <= 70; ++length) {
        const Bytes plain = random.Draw(length);
        CryptContext enc = k.context;
        Bytes data = plain;
        EncryptData(data.data(), data.size(), enc);
        if (length >= 8) {
            EXPECT_NE(ToHex(data), ToHex(plain)) << length;
        }
        CryptContext dec = k.context;
        DecryptData(data.data(), data.size(), dec);
        ASSERT_EQ(ToHex(data), ToHex(plain)) << length;
        uint8_t codeEnc[10], codeDec[10];
        FinishMac(codeEnc, enc);
        FinishMac(codeDec, dec);
        ASSERT_EQ(ToHex(codeEnc, 10), ToHex(codeDec, 10)) << length;
    }
}

TEST(CryptContext, AnyCutIntoRunsGivesTheSameResultAndDecryptionInverts) {
    test::Random random("ctr-pieces");
    for (int round = 0; round < 15; ++round) {
        const uint32_t mode = random.Between(1, 3);
        const Bytes password = random.Draw(random.Below(129));
        const Bytes salt = random.Draw(SaltLength(mode));
        const Bytes plain = random.Draw(random.Below(700));

        Keyed whole = Init(mode, password, salt, false);
        Bytes one = plain;
        EncryptData(one.data(), one.size(), whole.context);
        uint8_t codeWhole[10];
        FinishMac(codeWhole, whole.context);

        Keyed cut = Init(mode, password, salt, false);
        Bytes pieces = plain;
        size_t at = 0;
        for (const size_t piece : random.Pieces(plain.size())) {
            EncryptData(pieces.data() + at, piece, cut.context);
            at += piece;
        }
        uint8_t codeCut[10];
        FinishMac(codeCut, cut.context);
        ASSERT_EQ(ToHex(pieces), ToHex(one));
        ASSERT_EQ(ToHex(codeCut, 10), ToHex(codeWhole, 10));

        Keyed back = Init(mode, password, salt, false);
        at = 0;
        for (const size_t piece : random.Pieces(plain.size())) {
            DecryptData(pieces.data() + at, piece, back.context);
            at += piece;
        }
        uint8_t codeBack[10];
        FinishMac(codeBack, back.context);
        ASSERT_EQ(ToHex(pieces), ToHex(plain));
        ASSERT_EQ(ToHex(codeBack, 10), ToHex(codeWhole, 10));
    }
}

}  // namespace
}  // namespace zolt
