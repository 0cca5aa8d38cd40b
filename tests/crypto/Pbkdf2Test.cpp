#include <gtest/gtest.h>

#include "crypto/Pbkdf2.h"
#include "tests/crypto/CryptoTestUtil.h"

namespace zolt {
namespace {

using test::Bytes;
using test::ToBytes;
using test::ToHex;

// Derives `length` bytes into a buffer with guard bytes after them, and
// checks that the guard is untouched.
std::string Stretch(const Bytes& password, const Bytes& salt, uint32_t iterations, size_t length) {
    Bytes out(length + 8, 0xa5);
    StretchPassword(password.data(), password.size(), salt.data(), salt.size(), iterations,
                    out.data(), length);
    for (size_t i = length; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0xa5) << "byte " << i << " past the output was written";
    }
    return ToHex(out.data(), length);
}

struct Pbkdf2Vector {
    std::string password;
    std::string salt;
    uint32_t iterations;
    size_t length;
    const char* output;
};

// RFC 6070, section 2 (all but the 16777216-iteration case).
TEST(Pbkdf2, Rfc6070Vectors) {
    const Pbkdf2Vector vectors[] = {
        {"password", "salt", 1, 20, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, 20, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"password", "salt", 4096, 20, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16,
         "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const Pbkdf2Vector& v : vectors) {
        EXPECT_EQ(Stretch(ToBytes(v.password), ToBytes(v.salt), v.iterations, v.length), v.output);
    }
}

// The derivations of the file encryption: 1000 iterations, 8-byte salt, and
// the key material lengths of the three key modes.
TEST(Pbkdf2, ThousandIterationsForEveryOutputLength) {
    const std::string full =
        "3e51442f7069f6d17ecc12c9c097392cf38e0ab887f948fd13e4789193c800ef308eb89d6bf8718c3f74783ac5"
        "99ed8e7c1be72a06b6e36c7db9bea00eb280d63929";
    const Bytes salt = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const size_t length : {20u, 34u, 50u, 66u}) {
        EXPECT_EQ(Stretch(ToBytes("wvnxqzrtbm"), salt, 1000, length), full.substr(0, 2 * length));
    }
}

TEST(Pbkdf2, OneAndTwoIterationsAndLongPasswordsAgreeWithOpenSsl) {
    const Bytes salt = ToBytes("NaCl-and-pepper");
    for (const size_t passwordLength : {0u, 1u, 63u, 64u, 65u, 128u, 129u, 300u}) {
        Bytes password(passwordLength);
        for (size_t i = 0; i < passwordLength; ++i) {
            password[i] = static_cast<uint8_t>(i * 31 + 7);
        }
        for (const uint32_t iterations : {1u, 2u, 1000u}) {
            for (const size_t length : {1u, 20u, 34u, 50u, 66u}) {
                ASSERT_EQ(Stretch(password, salt, iterations, length),
                          ToHex(test::OpenSslPbkdf2(password, salt, iterations, length)))
                    << passwordLength << " " << iterations << " " << length;
            }
        }
    }
}

TEST(Pbkdf2, RandomInputsAgreeWithOpenSsl) {
    test::Random random("pbkdf2");
    for (int i = 0; i < 1500; ++i) {
        const Bytes password = random.Draw(random.Below(160));
        const Bytes salt = random.Draw(random.Below(48));
        const uint32_t iterations = random.Between(1, i < 1400 ? 8 : 300);
        const size_t length = random.Between(1, 90);
        ASSERT_EQ(Stretch(password, salt, iterations, length),
                  ToHex(test::OpenSslPbkdf2(password, salt, iterations, length)))
            << "password " << ToHex(password) << " salt " << ToHex(salt) << " iterations "
            << iterations << " length " << length;
    }
}

}  // namespace
}  // namespace zolt
