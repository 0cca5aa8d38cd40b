#include "crypto/Sha256.h"

#include <sodium.h>

namespace zolt {

struct Sha256::State {
    crypto_hash_sha256_state sodium;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
    // Hashing needs no started library: sodium_init() only picks faster
    // code for this processor, and hashing works whatever it answers.
    if (sodium_init() < 0) {
        // The portable code runs.
    }
    crypto_hash_sha256_init(&state_->sodium);
}

Sha256::~Sha256() = default;

void Sha256::Add(const uint8_t* data, size_t length) {
    crypto_hash_sha256_update(&state_->sodium, data, length);
}

Sha256Digest Sha256::Finish() {
    Sha256Digest digest{};
    crypto_hash_sha256_final(&state_->sodium, digest.data());
    return digest;
}

}  // namespace zolt
