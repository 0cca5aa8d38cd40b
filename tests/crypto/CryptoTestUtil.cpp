#include "tests/crypto/CryptoTestUtil.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/sha.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace zolt::test {

Bytes FromHex(const std::string& hex) {
    Bytes out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

std::string ToHex(const uint8_t* data, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

uint64_t TestSeed() {
    static const uint64_t seed = [] {
        const char* fixed = std::getenv("ZOLT_TEST_SEED");
        const uint64_t value =
            fixed != nullptr && *fixed != '\0'
                ? std::strtoull(fixed, nullptr, 10)
                : (uint64_t{std::random_device{}()} << 32) ^ std::random_device{}();
        std::printf("Randomised checks use ZOLT_TEST_SEED=%llu\n",
                    static_cast<unsigned long long>(value));
        return value;
    }();
    return seed;
}

Random::Random(const std::string& check) : engine_(TestSeed() ^ std::hash<std::string>{}(check)) {}

uint32_t Random::Below(uint32_t bound) {
    return static_cast<uint32_t>(std::uniform_int_distribution<uint64_t>(0, bound - 1)(engine_));
}

uint32_t Random::Between(uint32_t low, uint32_t high) {
    return low + Below(high - low + 1);
}

Bytes Random::Draw(size_t length) {
    Bytes out(length);
    for (uint8_t& b : out) {
        b = static_cast<uint8_t>(engine_());
    }
    return out;
}

std::vector<size_t> Random::Pieces(size_t length) {
    std::vector<size_t> pieces;
    size_t left = length;
    while (left > 0) {
        const size_t piece = Below(static_cast<uint32_t>(left < 80 ? left + 1 : 81));
        pieces.push_back(piece);
        left -= piece;
    }
    if (Below(2) == 0) {
        pieces.push_back(0);
    }
    return pieces;
}

Bytes OpenSslSha1(const Bytes& data) {
    Bytes out(SHA_DIGEST_LENGTH);
    SHA1(data.data(), data.size(), out.data());
    return out;
}

Bytes OpenSslHmacSha1(const Bytes& key, const Bytes& data) {
    Bytes out(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    static const uint8_t none = 0;
    HMAC(EVP_sha1(), key.empty() ? &none : key.data(), static_cast<int>(key.size()),
         data.empty() ? &none : data.data(), data.size(), out.data(), &length);
    out.resize(length);
    return out;
}

Bytes OpenSslPbkdf2(const Bytes& password, const Bytes& salt, uint32_t iterations, size_t length) {
    Bytes out(length);
    static const uint8_t none = 0;
    if (PKCS5_PBKDF2_HMAC_SHA1(
            reinterpret_cast<const char*>(password.empty() ? &none : password.data()),
            static_cast<int>(password.size()), salt.empty() ? &none : salt.data(),
            static_cast<int>(salt.size()), static_cast<int>(iterations), static_cast<int>(length),
            out.data()) != 1) {
        throw std::runtime_error("OpenSSL PBKDF2 failed");
    }
    return out;
}

Bytes OpenSslAesEcb(const Bytes& key, const Bytes& block, bool encrypt) {
    const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_ecb()
                               : key.size() == 24 ? EVP_aes_192_ecb()
                                                  : EVP_aes_256_ecb();
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    Bytes out(block.size() + 16);
    int n = 0;
    EVP_CipherInit_ex(ctx, cipher, nullptr, key.data(), nullptr, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EVP_CipherUpdate(ctx, out.data(), &n, block.data(), static_cast<int>(block.size()));
    EVP_CIPHER_CTX_free(ctx);
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace zolt::test
