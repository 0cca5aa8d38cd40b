#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zolt {

// Ed25519 (RFC 8032) through libsodium: the update packages are signed with
// it, and nothing of it is home-made.
inline constexpr size_t kEd25519PublicKeySize = 32;
inline constexpr size_t kEd25519SecretKeySize = 64;  // seed and public key
inline constexpr size_t kEd25519SignatureSize = 64;

using Ed25519PublicKey = std::array<uint8_t, kEd25519PublicKeySize>;
using Ed25519SecretKey = std::array<uint8_t, kEd25519SecretKeySize>;
using Ed25519Signature = std::array<uint8_t, kEd25519SignatureSize>;

struct Ed25519KeyPair {
    Ed25519PublicKey publicKey{};
    Ed25519SecretKey secretKey{};
};

// A new key pair from the system's random source; false when the library
// could not start.
[[nodiscard]] bool MakeEd25519KeyPair(Ed25519KeyPair& pair);
// The detached signature of the whole `message`; false when the secret key
// does not hold its own public key (a damaged key file).
[[nodiscard]] bool SignEd25519(std::span<const uint8_t> message, const Ed25519SecretKey& key,
                               Ed25519Signature& signature);
// Whether `signature` is the signature of `message` by `key`.
[[nodiscard]] bool VerifyEd25519(std::span<const uint8_t> message,
                                 const Ed25519Signature& signature, const Ed25519PublicKey& key);

}  // namespace zolt
