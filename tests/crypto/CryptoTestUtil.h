#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace zolt::test {

using Bytes = std::vector<uint8_t>;

Bytes FromHex(const std::string& hex);
std::string ToHex(const uint8_t* data, size_t length);
inline std::string ToHex(const Bytes& bytes) {
    return ToHex(bytes.data(), bytes.size());
}
Bytes ToBytes(const std::string& text);

// The seed of the randomised checks: ZOLT_TEST_SEED when set, else a fresh
// one; printed once so that a failing run can be repeated.
uint64_t TestSeed();

// A generator seeded from TestSeed() and the name of the check, so that each
// check draws the same values whatever others run before it.
class Random {
  public:
    explicit Random(const std::string& check);
    uint32_t Below(uint32_t bound);                 // 0 .. bound-1
    uint32_t Between(uint32_t low, uint32_t high);  // low .. high
    Bytes Draw(size_t length);
    // Cuts `length` into random pieces (some of them empty) that add up to it.
    std::vector<size_t> Pieces(size_t length);

  private:
    std::mt19937_64 engine_;
};

// Reference values computed by OpenSSL.
Bytes OpenSslSha1(const Bytes& data);
Bytes OpenSslHmacSha1(const Bytes& key, const Bytes& data);
Bytes OpenSslPbkdf2(const Bytes& password, const Bytes& salt, uint32_t iterations, size_t length);
Bytes OpenSslAesEcb(const Bytes& key, const Bytes& block, bool encrypt);

}  // namespace zolt::test
