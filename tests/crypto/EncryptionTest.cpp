#include <gtest/gtest.h>

#include <cstring>

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::ToBytes;
using test::ToHex;

const std::string kPassword = "wvnxqzrtbm";

// A memory stream that records the size of every read and can be told to
// fail: reads with -1 once `readLimit` bytes were read, writes store nothing
// more once `writeLimit` bytes were written.
class ScriptedStream : public ByteStream {
  public:
    explicit ScriptedStream(std::string bytes = {}) : inner_(std::move(bytes)) {}
    int64_t Read(uint8_t* buffer, int64_t count) override {
        if (readTotal_ >= readLimit) {
            return -1;
        }
        const int64_t n = inner_.Read(buffer, count);
        readTotal_ += n;
        reads.push_back(n);
        return n;
    }
    int64_t Write(const uint8_t* buffer, int64_t count) override {
        const int64_t room = writeLimit - writeTotal_;
        const int64_t n = count < room ? count : room;
        writeTotal_ += n;
        return inner_.Write(buffer, n);
    }
    const std::string& bytes() const { return inner_.bytes(); }

    std::vector<int64_t> reads;
    int64_t readLimit = INT64_MAX;
    int64_t writeLimit = INT64_MAX;

  private:
    MemoryStream inner_;
    int64_t readTotal_ = 0;
    int64_t writeTotal_ = 0;
};

std::string Encrypt(const std::string& plain, const std::string& password = kPassword,
                    int32_t bufferSize = 262144) {
    TEncryption e(password, bufferSize);
    MemoryStream in(plain), out;
    EXPECT_TRUE(e.EncryptStream(in, out));
    return out.bytes();
}

bool Decrypt(const std::string& encrypted, std::string& plain,
             const std::string& password = kPassword, int32_t bufferSize = 262144) {
    TEncryption e(password, bufferSize);
    MemoryStream in(encrypted), out;
    const bool ok = e.DecryptStream(in, out, static_cast<int64_t>(encrypted.size()));
    plain = out.bytes();
    return ok;
}

std::string Plain(size_t length, const char* check = "plain") {
    const Bytes b = test::Random(check).Draw(length);
    return std::string(b.begin(), b.end());
}

TEST(Encryption, EmptyPlainDataGivesTwentyBytesThatDecryptToNothing) {
    const std::string encrypted = Encrypt("");
    ASSERT_EQ(encrypted.size(), 20u);
    std::string plain = "left over";
    EXPECT_TRUE(Decrypt(encrypted, plain));
    EXPECT_EQ(plain, "");
}

TEST(Encryption, AFullBufferIsFollowedByAnEmptyPass) {
    const std::string plain = Plain(262144);
    TEncryption e(kPassword, 262144);
    ScriptedStream in(plain);
    MemoryStream out;
    ASSERT_TRUE(e.EncryptStream(in, out));
    EXPECT_EQ(in.reads, (std::vector<int64_t>{262144, 0}));
    ASSERT_EQ(out.bytes().size(), 262144u + 20);

    ScriptedStream encrypted(out.bytes());
    MemoryStream back;
    EXPECT_TRUE(e.DecryptStream(encrypted, back, 262144 + 20));
    // Salt, verifier, the data in one pass, the code.
    EXPECT_EQ(encrypted.reads, (std::vector<int64_t>{8, 2, 262144, 10}));
    EXPECT_TRUE(back.bytes() == plain);
}

TEST(Encryption, SmallBuffersTakeSeveralPassesAndGiveTheSameLayout) {
    for (const size_t length : {0u, 1u, 15u, 16u, 17u, 70u, 1000u}) {
        for (const int32_t bufferSize : {1, 7, 16, 262144}) {
            SCOPED_TRACE(testing::Message() << length << " " << bufferSize);
            const std::string plain = Plain(length);
            const std::string encrypted = Encrypt(plain, kPassword, bufferSize);
            ASSERT_EQ(encrypted.size(), length + 20);
            for (const int32_t readBuffer : {1, 262144}) {
                std::string back;
                ASSERT_TRUE(Decrypt(encrypted, back, kPassword, readBuffer));
                ASSERT_TRUE(back == plain);
            }
        }
    }
}

TEST(Encryption, TheSamePlainTextTwiceGivesDifferentFilesOfEqualLength) {
    const std::string plain = Plain(1000);
    TEncryption e(kPassword, 262144);
    MemoryStream in1(plain), in2(plain), out1, out2;
    ASSERT_TRUE(e.EncryptStream(in1, out1));
    ASSERT_TRUE(e.EncryptStream(in2, out2));
    const std::string& a = out1.bytes();
    const std::string& b = out2.bytes();
    ASSERT_EQ(a.size(), 1020u);
    ASSERT_EQ(b.size(), 1020u);
    EXPECT_NE(a.substr(0, 8), b.substr(0, 8));          // salt
    EXPECT_NE(a.substr(10, 1000), b.substr(10, 1000));  // data
    EXPECT_NE(a.substr(1010), b.substr(1010));          // code
    for (const std::string* encrypted : {&a, &b}) {
        MemoryStream source(*encrypted), back;
        EXPECT_TRUE(e.DecryptStream(source, back, 1020));
        EXPECT_TRUE(back.bytes() == plain);
    }
}

// The layout checked field by field against the reference primitives.
TEST(Encryption, LayoutIsSaltVerifierDataAndCodeForEveryKeyMode) {
    struct Case {
        size_t passwordLength;
        uint32_t mode;
        size_t salt;
    };
    const Case cases[] = {{10, 1, 8},  {31, 1, 8},  {32, 2, 12},
                          {47, 2, 12}, {48, 3, 16}, {128, 3, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.passwordLength);
        const std::string password(c.passwordLength, 'k');
        EXPECT_EQ(TEncryption(password, 16).keyMode(), static_cast<KeyMode>(c.mode));
        const std::string plain = Plain(77);
        const std::string encrypted = Encrypt(plain, password, 16);
        ASSERT_EQ(encrypted.size(), c.salt + 2 + plain.size() + 10);

        const Bytes salt(encrypted.begin(), encrypted.begin() + c.salt);
        const size_t K = 8 * c.mode + 8;
        const Bytes material = test::OpenSslPbkdf2(ToBytes(password), salt, 1000, 2 * K + 2);
        EXPECT_EQ(static_cast<uint8_t>(encrypted[c.salt]), material[2 * K]);
        EXPECT_EQ(static_cast<uint8_t>(encrypted[c.salt + 1]), material[2 * K + 1]);

        const Bytes aesKey(material.begin(), material.begin() + K);
        const Bytes data(encrypted.begin() + c.salt + 2, encrypted.end() - 10);
        for (size_t i = 0; i < plain.size(); ++i) {
            Bytes counter(16, 0);
            counter[0] = static_cast<uint8_t>(i / 16 + 1);
            const Bytes block = test::OpenSslAesEcb(aesKey, counter, true);
            ASSERT_EQ(data[i], static_cast<uint8_t>(plain[i]) ^ block[i % 16]) << i;
        }
        const Bytes hmacKey(material.begin() + K, material.begin() + 2 * K);
        EXPECT_EQ(ToHex(ToBytes(encrypted.substr(encrypted.size() - 10))),
                  ToHex(test::OpenSslHmacSha1(hmacKey, data)).substr(0, 20));

        std::string back;
        EXPECT_TRUE(Decrypt(encrypted, back, password));
        EXPECT_TRUE(back == plain);
    }
}

TEST(Encryption, TooShortInputIsRefusedWithoutWriting) {
    const std::string encrypted = Encrypt("");
    for (size_t length = 0; length < 20; ++length) {
        std::string plain;
        EXPECT_FALSE(Decrypt(encrypted.substr(0, length), plain)) << length;
        EXPECT_EQ(plain, "");
    }
    // The size argument counts, not the bytes that happen to follow.
    TEncryption e(kPassword, 16);
    ScriptedStream in(Encrypt("abc")), out;
    EXPECT_FALSE(e.DecryptStream(in, out, 19));
    EXPECT_TRUE(in.reads.empty());
    EXPECT_EQ(out.bytes(), "");
}

TEST(Encryption, AChangedDataByteChangesExactlyThatPlainByteAndFails) {
    const std::string plain = Plain(3000);
    const std::string encrypted = Encrypt(plain);
    for (const size_t at : {0u, 1u, 1234u, 2999u}) {
        std::string damaged = encrypted;
        damaged[10 + at] = static_cast<char>(damaged[10 + at] ^ 0x40);
        std::string back;
        EXPECT_FALSE(Decrypt(damaged, back));
        std::string expected = plain;
        expected[at] = static_cast<char>(expected[at] ^ 0x40);
        EXPECT_TRUE(back == expected) << at;
    }
}

TEST(Encryption, AChangedCodeByteKeepsThePlainTextAndFails) {
    const std::string plain = Plain(500);
    const std::string encrypted = Encrypt(plain);
    for (size_t at = encrypted.size() - 10; at < encrypted.size(); ++at) {
        std::string damaged = encrypted;
        damaged[at] = static_cast<char>(damaged[at] ^ 1);
        std::string back;
        EXPECT_FALSE(Decrypt(damaged, back));
        EXPECT_TRUE(back == plain) << at;
    }
}

TEST(Encryption, WrongPasswordFailsAtTheVerifierWithoutWriting) {
    const std::string encrypted = Encrypt(Plain(100));
    const Bytes salt(encrypted.begin(), encrypted.begin() + 8);
    int checked = 0;
    for (char c = 'a'; checked < 3; ++c) {
        const std::string wrong = std::string("wvnxqzrtb") + c;
        if (wrong == kPassword) {
            continue;
        }
        // One wrong password in 65536 passes the verifier; such a one would
        // test the code instead, so it is skipped.
        const Bytes material = test::OpenSslPbkdf2(ToBytes(wrong), salt, 1000, 34);
        if (material[32] == static_cast<uint8_t>(encrypted[8]) &&
            material[33] == static_cast<uint8_t>(encrypted[9])) {
            continue;
        }
        std::string back;
        EXPECT_FALSE(Decrypt(encrypted, back, wrong));
        EXPECT_EQ(back, "");
        ++checked;
    }
}

TEST(Encryption, PasswordsLongerThan128BytesAreRefusedWithoutWriting) {
    const std::string password(129, 'p');
    TEncryption e(password, 64);
    MemoryStream in("some plain text"), out;
    EXPECT_FALSE(e.EncryptStream(in, out));
    EXPECT_EQ(out.bytes(), "");
    MemoryStream encrypted(Encrypt("some plain text", std::string(128, 'p'))), back;
    EXPECT_FALSE(e.DecryptStream(encrypted, back, 15 + 28));
    EXPECT_EQ(back.bytes(), "");
}

TEST(Encryption, StreamsAreUsedFromTheirCurrentPosition) {
    const std::string encrypted = Encrypt("hello");
    MemoryStream source("prefix" + encrypted + "suffix");
    uint8_t skip[6];
    source.Read(skip, 6);
    MemoryStream dest("header:");
    dest.seek(7);
    TEncryption e(kPassword, 16);
    EXPECT_TRUE(e.DecryptStream(source, dest, static_cast<int64_t>(encrypted.size())));
    EXPECT_EQ(dest.bytes(), "header:hello");

    MemoryStream plain("skip-me|payload");
    plain.Read(skip, 5);
    MemoryStream out;
    ASSERT_TRUE(e.EncryptStream(plain, out));
    std::string back;
    EXPECT_TRUE(Decrypt(out.bytes(), back));
    EXPECT_EQ(back, "me|payload");
}

TEST(Encryption, ReadAndWriteFailuresStopWithFalse) {
    const std::string plain = Plain(100);
    TEncryption e(kPassword, 16);
    for (const int64_t limit : {0, 5, 8, 10, 50, 110, 119}) {
        SCOPED_TRACE(limit);
        ScriptedStream in(plain), out;
        out.writeLimit = limit;
        EXPECT_FALSE(e.EncryptStream(in, out));
        EXPECT_LE(out.bytes().size(), static_cast<size_t>(limit));
    }
    for (const int64_t limit : {0, 40}) {
        ScriptedStream in(plain), out;
        in.readLimit = limit;
        EXPECT_FALSE(e.EncryptStream(in, out));
    }
    const std::string encrypted = Encrypt(plain);
    for (const int64_t limit : {0, 8, 10, 42, 110}) {
        SCOPED_TRACE(limit);
        ScriptedStream in(encrypted), out;
        in.readLimit = limit;
        EXPECT_FALSE(e.DecryptStream(in, out, static_cast<int64_t>(encrypted.size())));
    }
    for (const int64_t limit : {0, 30, 99}) {
        ScriptedStream in(encrypted), out;
        out.writeLimit = limit;
        EXPECT_FALSE(e.DecryptStream(in, out, static_cast<int64_t>(encrypted.size())));
    }
    // A size larger than the data: the read that yields nothing ends it.
    ScriptedStream in(encrypted), out;
    EXPECT_FALSE(e.DecryptStream(in, out, static_cast<int64_t>(encrypted.size()) + 50));
}

TEST(Encryption, ABufferSizeBelowOneFailsEveryStream) {
    const std::string encrypted = Encrypt("plain");
    for (const int32_t size : {0, -5}) {
        TEncryption e(kPassword, size);
        ScriptedStream in("plain"), out, sealed(encrypted);
        EXPECT_FALSE(e.EncryptStream(in, out)) << size;
        EXPECT_FALSE(e.DecryptStream(sealed, out, static_cast<int64_t>(encrypted.size()))) << size;
        EXPECT_EQ(out.bytes(), "") << size;
    }
}

}  // namespace
}  // namespace zolt
