// The primitives of the settings-file encryption next to OpenSSL. Every
// benchmark comes as a pair "<what>/zolt" and "<what>/openssl"; bench/run
// pairs them up into one table.

#include <benchmark/benchmark.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/sha.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypto/AesLib.h"
#include "util/SettingsFileCrypt.h"

namespace {

using namespace zolt;

constexpr size_t kBulk = 256 * 1024;
const uint8_t kKey[32] = {0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6, 0xab, 0xf7, 0x15,
                          0x88, 0x09, 0xcf, 0x4f, 0x3c, 1,    2,    3,    4,    5,    6,
                          7,    8,    9,    10,   11,   12,   13,   14,   15,   16};

std::vector<uint8_t> Data(size_t length) {
    std::vector<uint8_t> data(length);
    for (size_t i = 0; i < length; ++i) {
        data[i] = static_cast<uint8_t>(i * 131 + 7);
    }
    return data;
}

void Check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

// --- AES-128, one block per call ------------------------------------------

void Aes128Block_Zolt(benchmark::State& state) {
    AesSchedule s;
    AesSetEncryptKey(kKey, 16, s);
    uint8_t block[16] = {};
    for (auto _ : state) {
        AesEncryptBlock(block, block, s);
        benchmark::DoNotOptimize(block);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 16);
}

void Aes128Block_OpenSsl(benchmark::State& state) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, kKey, nullptr);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    uint8_t block[16] = {};
    int n = 0;
    for (auto _ : state) {
        EVP_EncryptUpdate(ctx, block, &n, block, 16);
        benchmark::DoNotOptimize(block);
    }
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 16);
}

// --- AES-128 counter mode over 256 KiB --------------------------------------

CryptContext KeyedContext() {
    CryptContext context;
    const uint8_t salt[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t verifier[2];
    InitContext(1, reinterpret_cast<const uint8_t*>(kSettingsPassword), 10, salt, verifier,
                context);
    return context;
}

void Aes128Ctr_Zolt(benchmark::State& state) {
    CryptContext context = KeyedContext();
    std::vector<uint8_t> data = Data(kBulk);
    for (auto _ : state) {
        ApplyKeystream(data.data(), data.size(), context);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

void Aes128Ctr_OpenSsl(benchmark::State& state) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    const uint8_t iv[16] = {1};
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ctr(), nullptr, kKey, iv);
    std::vector<uint8_t> data = Data(kBulk);
    int n = 0;
    for (auto _ : state) {
        EVP_EncryptUpdate(ctx, data.data(), &n, data.data(), static_cast<int>(data.size()));
        benchmark::DoNotOptimize(data.data());
    }
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

// EncryptData: the counter mode and the authentication code over the result.
void EncryptData_Zolt(benchmark::State& state) {
    CryptContext context = KeyedContext();
    std::vector<uint8_t> data = Data(kBulk);
    for (auto _ : state) {
        EncryptData(data.data(), data.size(), context);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

EVP_MAC_CTX* NewHmacSha1(const uint8_t* key, size_t keyLength) {
    EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(mac);
    EVP_MAC_free(mac);
    char digest[] = "SHA1";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                 OSSL_PARAM_END};
    Check(EVP_MAC_init(ctx, key, keyLength, params) == 1, "HMAC init");
    return ctx;
}

void EncryptData_OpenSsl(benchmark::State& state) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    const uint8_t iv[16] = {1};
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ctr(), nullptr, kKey, iv);
    EVP_MAC_CTX* mac = NewHmacSha1(kKey + 16, 16);
    std::vector<uint8_t> data = Data(kBulk);
    int n = 0;
    for (auto _ : state) {
        EVP_EncryptUpdate(ctx, data.data(), &n, data.data(), static_cast<int>(data.size()));
        EVP_MAC_update(mac, data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    EVP_MAC_CTX_free(mac);
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

// --- SHA-1 over 256 KiB -----------------------------------------------------

void Sha1_Zolt(benchmark::State& state) {
    const std::vector<uint8_t> data = Data(kBulk);
    uint8_t digest[20];
    for (auto _ : state) {
        Sha1Context c;
        Sha1Start(c);
        Sha1Add(data.data(), data.size(), c);
        Sha1Finish(digest, c);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

void Sha1_OpenSsl(benchmark::State& state) {
    const std::vector<uint8_t> data = Data(kBulk);
    uint8_t digest[20];
    for (auto _ : state) {
        SHA1(data.data(), data.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBulk);
}

// --- PBKDF2-HMAC-SHA1, 1000 iterations, 34 bytes ------------------------------

void Pbkdf2_Zolt(benchmark::State& state) {
    const uint8_t salt[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t out[34];
    for (auto _ : state) {
        StretchPassword(reinterpret_cast<const uint8_t*>(kSettingsPassword), 10, salt, 8, 1000, out,
                        sizeof out);
        benchmark::DoNotOptimize(out);
    }
}

void Pbkdf2_OpenSsl(benchmark::State& state) {
    const uint8_t salt[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t out[34];
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC_SHA1(kSettingsPassword, 10, salt, 8, 1000, sizeof out, out);
        benchmark::DoNotOptimize(out);
    }
}

// --- Decrypting a 4 KiB settings file -----------------------------------------

struct SettingsFiles {
    std::string encrypted;
    std::string plain;
    std::string text;

    SettingsFiles() {
        char folder[] = "/tmp/zolt-bench-XXXXXX";
        Check(mkdtemp(folder) != nullptr, "temporary folder");
        encrypted = std::string(folder) + "/dbsettings.dat";
        plain = std::string(folder) + "/dbsettings.sim";
        const std::vector<uint8_t> data = Data(4096);
        text.assign(data.begin(), data.end());
        std::ofstream(encrypted, std::ios::binary) << EncryptSettingsBytes(text);
    }
    ~SettingsFiles() {
        std::remove(encrypted.c_str());
        std::remove(plain.c_str());
        std::remove(encrypted.substr(0, encrypted.rfind('/')).c_str());
    }
};

const SettingsFiles& Files() {
    static const SettingsFiles files;
    return files;
}

// The same file layout over OpenSSL's primitives: the key derivation, the
// counter blocks (little-endian, so not OpenSSL's own counter mode) through
// AES, and the code.
bool OpenSslDecryptSettingsFile(const std::string& source, const std::string& dest) {
    std::ifstream in(source, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    std::ofstream out(dest, std::ios::binary | std::ios::trunc);
    if (file.size() < 20) {
        return false;
    }
    uint8_t material[34];
    PKCS5_PBKDF2_HMAC_SHA1(kSettingsPassword, 10, file.data(), 8, 1000, 34, material);
    if (file[8] != material[32] || file[9] != material[33]) {
        return false;
    }
    const size_t length = file.size() - 20;
    uint8_t* data = file.data() + 10;
    EVP_MAC_CTX* mac = NewHmacSha1(material + 16, 16);
    EVP_MAC_update(mac, data, length);
    uint8_t code[20];
    size_t codeLength = 0;
    EVP_MAC_final(mac, code, &codeLength, sizeof code);
    EVP_MAC_CTX_free(mac);

    const size_t blocks = (length + 15) / 16;
    std::vector<uint8_t> stream(blocks * 16, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const uint64_t n = b + 1;
        for (int i = 0; i < 8; ++i) {
            stream[16 * b + i] = static_cast<uint8_t>(n >> (8 * i));
        }
    }
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, material, nullptr);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    int n = 0;
    EVP_EncryptUpdate(ctx, stream.data(), &n, stream.data(), static_cast<int>(stream.size()));
    EVP_CIPHER_CTX_free(ctx);
    for (size_t i = 0; i < length; ++i) {
        data[i] ^= stream[i];
    }
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
    return std::memcmp(code, data + length, 10) == 0;
}

void DecryptSettingsFile_Zolt(benchmark::State& state) {
    const SettingsFiles& f = Files();
    for (auto _ : state) {
        Check(DecryptSettingsFile(f.encrypted, f.plain, 0600).ok(), "decrypt");
    }
    std::ifstream in(f.plain, std::ios::binary);
    Check(std::string(std::istreambuf_iterator<char>(in), {}) == f.text, "plain text");
}

void DecryptSettingsFile_OpenSsl(benchmark::State& state) {
    const SettingsFiles& f = Files();
    for (auto _ : state) {
        Check(OpenSslDecryptSettingsFile(f.encrypted, f.plain), "decrypt");
    }
    std::ifstream in(f.plain, std::ios::binary);
    Check(std::string(std::istreambuf_iterator<char>(in), {}) == f.text, "plain text");
}

}  // namespace

BENCHMARK(Aes128Block_Zolt)->Name("AES-128 block/zolt");
BENCHMARK(Aes128Block_OpenSsl)->Name("AES-128 block/openssl");
BENCHMARK(Aes128Ctr_Zolt)->Name("AES-128-CTR 256 KiB/zolt")->Unit(benchmark::kMicrosecond);
BENCHMARK(Aes128Ctr_OpenSsl)->Name("AES-128-CTR 256 KiB/openssl")->Unit(benchmark::kMicrosecond);
BENCHMARK(EncryptData_Zolt)
    ->Name("EncryptData (CTR+HMAC) 256 KiB/zolt")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(EncryptData_OpenSsl)
    ->Name("EncryptData (CTR+HMAC) 256 KiB/openssl")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Sha1_Zolt)->Name("SHA-1 256 KiB/zolt")->Unit(benchmark::kMicrosecond);
BENCHMARK(Sha1_OpenSsl)->Name("SHA-1 256 KiB/openssl")->Unit(benchmark::kMicrosecond);
BENCHMARK(Pbkdf2_Zolt)->Name("PBKDF2-HMAC-SHA1 1000x 34 B/zolt")->Unit(benchmark::kMicrosecond);
BENCHMARK(Pbkdf2_OpenSsl)
    ->Name("PBKDF2-HMAC-SHA1 1000x 34 B/openssl")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(DecryptSettingsFile_Zolt)
    ->Name("DecryptSettingsFile 4 KiB/zolt")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(DecryptSettingsFile_OpenSsl)
    ->Name("DecryptSettingsFile 4 KiB/openssl")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
