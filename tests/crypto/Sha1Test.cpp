#define OPENSSL_SUPPRESS_DEPRECATED  // SHA1_Transform: the one reference for a bare compression
#include <openssl/sha.h>

#include <gtest/gtest.h>

#include <cstring>

#include "crypto/Sha1.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::ToHex;

std::string DigestInPieces(const Bytes& data, const std::vector<size_t>& pieces) {
    Sha1Context c;
    Sha1Start(c);
    size_t at = 0;
    for (const size_t piece : pieces) {
        Sha1Add(data.data() + at, piece, c);
        at += piece;
    }
    uint8_t digest[20];
    Sha1Finish(digest, c);
    return ToHex(digest, 20);
}

std::string Digest(const Bytes& data) {
    return DigestInPieces(data, {data.size()});
}

struct Sha1Vector {
    std::string message;
    const char* digest;
};

// FIPS 180 examples, and runs of "a" around the padding boundary (the
// 56-byte limit for the length field and the block of 64).
const std::vector<Sha1Vector>& Vectors() {
    static const std::vector<Sha1Vector> vectors = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "mn"
         "opqrsmnopqrstnopqrstu",
         "a49b2446a02c645bf419f995b67091253a04a259"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
        {std::string(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
        {std::string(63, 'a'), "03f09f5b158a7a8cdad920bddc29b81c18a551f5"},
        {std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
        {std::string(65, 'a'), "11655326c708d70319be2610e8a57d9a5b959d3b"},
        {std::string(119, 'a'), "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56"},
        {std::string(120, 'a'), "f34c1488385346a55709ba056ddd08280dd4c6d6"},
        {std::string(128, 'a'), "ad5b3fdbcb526778c2839d2f151ea753995e26a0"},
    };
    return vectors;
}

TEST(Sha1, StandardDigestsWholeByteByByteAndSplitAtEveryOffset) {
    for (const Sha1Vector& v : Vectors()) {
        SCOPED_TRACE(v.message.size());
        const Bytes data = test::ToBytes(v.message);
        EXPECT_EQ(Digest(data), v.digest);
        EXPECT_EQ(DigestInPieces(data, std::vector<size_t>(data.size(), 1)), v.digest);
        for (size_t split = 0; split <= data.size(); ++split) {
            ASSERT_EQ(DigestInPieces(data, {split, data.size() - split}), v.digest) << split;
        }
    }
}

TEST(Sha1, MillionTimesA) {
    const Bytes data(1000000, 'a');
    EXPECT_EQ(Digest(data), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha1, ByteCountIsKeptLowWordFirst) {
    Sha1Context c;
    Sha1Start(c);
    const Bytes data(100, 1);
    Sha1Add(data.data(), data.size(), c);
    EXPECT_EQ(c.count[0], 100u);
    EXPECT_EQ(c.count[1], 0u);
    // A count about to pass 2^32 carries into the high word.
    c.count[0] = 0xfffffff0u;
    Sha1Add(data.data(), 32, c);
    EXPECT_EQ(c.count[0], 0x10u);
    EXPECT_EQ(c.count[1], 1u);
}

TEST(Sha1, CompressMatchesTheStandardCompressionForAnyChainingValue) {
    test::Random random("sha1-compress");
    for (int i = 0; i < 200; ++i) {
        Sha1Context c;
        const Bytes block = random.Draw(64);
        const Bytes h = random.Draw(20);
        std::memcpy(c.buffer, block.data(), 64);
        std::memcpy(c.hash, h.data(), 20);
        SHA_CTX reference;
        SHA1_Init(&reference);
        reference.h0 = c.hash[0];
        reference.h1 = c.hash[1];
        reference.h2 = c.hash[2];
        reference.h3 = c.hash[3];
        reference.h4 = c.hash[4];
        SHA1_Transform(&reference, block.data());
        Sha1Compress(c);
        EXPECT_EQ(c.hash[0], reference.h0);
        EXPECT_EQ(c.hash[1], reference.h1);
        EXPECT_EQ(c.hash[2], reference.h2);
        EXPECT_EQ(c.hash[3], reference.h3);
        EXPECT_EQ(c.hash[4], reference.h4);
    }
}

TEST(Sha1, RandomLengthsAndPiecesAgreeWithOpenSsl) {
    test::Random random("sha1");
    for (int i = 0; i < 2000; ++i) {
        const Bytes data = random.Draw(random.Below(i < 1000 ? 200 : 3000));
        ASSERT_EQ(DigestInPieces(data, random.Pieces(data.size())), ToHex(test::OpenSslSha1(data)))
            << "length " << data.size();
    }
}

}  // namespace
}  // namespace zolt
