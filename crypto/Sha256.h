#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zolt {

inline constexpr size_t kSha256DigestSize = 32;
using Sha256Digest = std::array<uint8_t, kSha256DigestSize>;

// A running SHA-256 (FIPS 180-4) through libsodium, fed piece by piece so
// that a large file never has to be in memory at once.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(const uint8_t* data, size_t length);
    Sha256Digest Finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zolt
