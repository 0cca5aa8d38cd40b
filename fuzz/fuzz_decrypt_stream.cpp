// DecryptStream over whatever a settings file may hold: truncated, damaged
// or foreign files must be refused, never read past or trusted.

#include <cstddef>
#include <cstdint>
#include <string>

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "fuzz/FuzzCheck.h"

using namespace zolt;

namespace {

// The settings file's password and chunk size; a small chunk as well, so
// that the chunk boundaries fall inside short inputs.
constexpr char kPassword[] = "wvnxqzrtbm";

// `extra` bytes more than the input holds are claimed, as for a file that
// shrank after it was measured.
bool Decrypt(const std::string& encrypted, int32_t bufferSize, std::string& plain,
             int64_t extra = 0) {
    TEncryption encryption(kPassword, bufferSize);
    MemoryStream source(encrypted);
    MemoryStream destination;
    const int64_t claimed = static_cast<int64_t>(encrypted.size()) + extra;
    const bool ok = encryption.DecryptStream(source, destination, claimed);
    plain = destination.takeBytes();
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    for (const int32_t bufferSize : {262144, 7}) {
        std::string plain;
        const bool ok = Decrypt(bytes, bufferSize, plain);
        // Salt, verifier and code take 20 bytes; the plain text is the rest.
        FUZZ_CHECK(plain.size() + 20 <= bytes.size() || plain.empty());
        if (bytes.size() < 20) {
            FUZZ_CHECK(!ok && plain.empty());
        }
    }

    if (!bytes.empty()) {
        std::string plain;
        FUZZ_CHECK(!Decrypt(bytes, 262144, plain, 1 + data[0]));
        FUZZ_CHECK(plain.size() + 20 <= bytes.size() || plain.empty());
    }

    // The input as a plain text survives the round trip, whatever it holds.
    TEncryption encryption(kPassword, 64);
    MemoryStream plainSource(bytes);
    MemoryStream encrypted;
    FUZZ_CHECK(encryption.EncryptStream(plainSource, encrypted));
    FUZZ_CHECK(encrypted.bytes().size() == bytes.size() + 20);
    std::string back;
    FUZZ_CHECK(Decrypt(encrypted.bytes(), 262144, back));
    FUZZ_CHECK(back == bytes);

    // One flipped bit anywhere, chosen by the input, is caught.
    if (!bytes.empty()) {
        std::string damaged = encrypted.bytes();
        const std::size_t at = data[0] % damaged.size();
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << (data[size - 1] % 8)));
        FUZZ_CHECK(!Decrypt(damaged, 262144, back));
    }
    return 0;
}
