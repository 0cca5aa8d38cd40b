#include "crypto/Ed25519.h"

#include <sodium.h>

#include <cstring>

namespace zolt {

namespace {

bool SodiumStarted() {
    // 0: started now, 1: already started; both are fine, -1 is not.
    return sodium_init() >= 0;
}

}  // namespace

bool MakeEd25519KeyPair(Ed25519KeyPair& pair) {
    return SodiumStarted() &&
           crypto_sign_keypair(pair.publicKey.data(), pair.secretKey.data()) == 0;
}

bool SignEd25519(std::span<const uint8_t> message, const Ed25519SecretKey& key,
                 Ed25519Signature& signature) {
    if (!SodiumStarted()) {
        return false;
    }
    // libsodium's secret key is the seed followed by the public key; a key
    // whose halves do not belong together would sign for another key.
    Ed25519PublicKey derived{};
    if (crypto_sign_ed25519_sk_to_pk(derived.data(), key.data()) != 0 ||
        std::memcmp(derived.data(), key.data() + 32, derived.size()) != 0) {
        return false;
    }
    unsigned long long length = 0;
    return crypto_sign_detached(signature.data(), &length, message.data(), message.size(),
                                key.data()) == 0 &&
           length == signature.size();
}

bool VerifyEd25519(std::span<const uint8_t> message, const Ed25519Signature& signature,
                   const Ed25519PublicKey& key) {
    return SodiumStarted() && crypto_sign_verify_detached(signature.data(), message.data(),
                                                          message.size(), key.data()) == 0;
}

}  // namespace zolt
