#include <gtest/gtest.h>

#include <cstring>

#include "crypto/Hmac.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::FromHex;
using test::ToBytes;
using test::ToHex;

std::string CodeInPieces(const Bytes& key, const std::vector<size_t>& keyPieces, const Bytes& data,
                         const std::vector<size_t>& dataPieces, size_t length = 20) {
    HmacContext c;
    HmacStart(c);
    size_t at = 0;
    for (const size_t piece : keyPieces) {
        EXPECT_EQ(HmacAddKey(key.data() + at, piece, c), 0);
        at += piece;
    }
    at = 0;
    for (const size_t piece : dataPieces) {
        HmacAdd(data.data() + at, piece, c);
        at += piece;
    }
    uint8_t code[21];
    std::memset(code, 0xcc, sizeof code);
    HmacFinish(code, length, c);
    // Nothing past the requested length.
    for (size_t i = length; i < sizeof code; ++i) {
        EXPECT_EQ(code[i], 0xcc) << i;
    }
    return ToHex(code, length);
}

std::string Code(const Bytes& key, const Bytes& data) {
    return CodeInPieces(key, {key.size()}, data, {data.size()});
}

struct HmacVector {
    Bytes key;
    Bytes data;
    const char* code;
};

// RFC 2202, section 3 (test case 5 with its full code).
const std::vector<HmacVector>& Rfc2202() {
    static const std::vector<HmacVector> vectors = {
        {Bytes(20, 0x0b), ToBytes("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
        {ToBytes("Jefe"), ToBytes("what do ya want for nothing?"),
         "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {Bytes(20, 0xaa), Bytes(50, 0xdd), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {FromHex("0102030405060708090a0b0c0d0e0f10111213141516171819"), Bytes(50, 0xcd),
         "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {Bytes(20, 0x0c), ToBytes("Test With Truncation"),
         "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {Bytes(80, 0xaa), ToBytes("Test Using Larger Than Block-Size Key - Hash Key First"),
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {Bytes(80, 0xaa),
         ToBytes("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    return vectors;
}

TEST(Hmac, Rfc2202Cases) {
    for (const HmacVector& v : Rfc2202()) {
        EXPECT_EQ(Code(v.key, v.data), v.code);
        EXPECT_EQ(CodeInPieces(v.key, std::vector<size_t>(v.key.size(), 1), v.data,
                               std::vector<size_t>(v.data.size(), 1)),
                  v.code);
    }
    for (const HmacVector& v : Rfc2202()) {
        for (size_t split = 0; split <= v.data.size(); ++split) {
            ASSERT_EQ(CodeInPieces(v.key, {v.key.size()}, v.data, {split, v.data.size() - split}),
                      v.code)
                << split;
        }
    }
    // Test case 5 also gives the code cut to 96 bits.
    EXPECT_EQ(CodeInPieces(Rfc2202()[4].key, {20}, Rfc2202()[4].data, {20}, 12),
              "4c1a03424b55e07fe7f27be1");
}

// Keys around the block size, whose longer forms are replaced by their
// digest; fed whole and split at every offset.
TEST(Hmac, KeysOf0_64_65_130BytesInPieces) {
    struct Case {
        size_t keyLength;
        const char* code;
    };
    const Case cases[] = {
        {0, "2ba7f707ad5f187c412de3106583c3111d668de8"},
        {64, "576c36339781537fa58a440af7e8b8e9161475f2"},
        {65, "828ea79204d51ce416ed2304cc572868da47cc04"},
        {130, "c3cc1caaf4e2f32d8c2d8075b778efe6222f97e7"},
    };
    const Bytes data = ToBytes("The quick brown fox jumps over the lazy dog");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyLength);
        Bytes key(c.keyLength);
        for (size_t i = 0; i < key.size(); ++i) {
            key[i] = static_cast<uint8_t>(i * 7 + 1);
        }
        EXPECT_EQ(Code(key, data), c.code);
        for (size_t split = 0; split <= key.size(); ++split) {
            ASSERT_EQ(CodeInPieces(key, {split, key.size() - split}, data, {data.size()}), c.code)
                << split;
        }
        for (size_t a = 0; a <= key.size(); a += 13) {
            const size_t b = (key.size() - a) / 2;
            ASSERT_EQ(CodeInPieces(key, {a, b, key.size() - a - b}, data, {5, data.size() - 5}),
                      c.code);
        }
        // A 10-byte request gives the start of the code.
        EXPECT_EQ(CodeInPieces(key, {key.size()}, data, {data.size()}, 10),
                  std::string(c.code).substr(0, 20));
    }
}

TEST(Hmac, KeyAfterMessageDataIsRefusedAndChangesNothing) {
    const HmacVector& v = Rfc2202()[1];
    HmacContext c;
    HmacStart(c);
    ASSERT_EQ(HmacAddKey(v.key.data(), v.key.size(), c), 0);
    HmacAdd(v.data.data(), 3, c);
    HmacContext before = c;
    EXPECT_EQ(HmacAddKey(v.key.data(), v.key.size(), c), -1);
    EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0);
    HmacAdd(v.data.data() + 3, v.data.size() - 3, c);
    uint8_t code[20];
    HmacFinish(code, 20, c);
    EXPECT_EQ(ToHex(code, 20), v.code);
}

TEST(Hmac, StartClearsTheWholeContext) {
    HmacContext c;
    std::memset(&c, 0x5a, sizeof c);
    HmacStart(c);
    const HmacContext zero{};
    EXPECT_EQ(std::memcmp(&c, &zero, sizeof c), 0);
}

TEST(Hmac, RandomKeysMessagesAndPiecesAgreeWithOpenSsl) {
    test::Random random("hmac");
    for (int i = 0; i < 2000; ++i) {
        const Bytes key = random.Draw(random.Below(200));
        const Bytes data = random.Draw(random.Below(400));
        const size_t length = random.Between(1, 20);
        ASSERT_EQ(
            CodeInPieces(key, random.Pieces(key.size()), data, random.Pieces(data.size()), length),
            ToHex(test::OpenSslHmacSha1(key, data)).substr(0, 2 * length))
            << "key " << ToHex(key) << " data length " << data.size();
    }
}

}  // namespace
}  // namespace zolt
