#pragma once

#include <cstddef>
#include <cstdint>

namespace zolt {

inline constexpr size_t kSha1DigestSize = 20;
inline constexpr size_t kSha1BlockSize = 64;

// A running SHA-1.
struct Sha1Context {
    uint32_t count[2];   // bytes taken so far, low word first
    uint32_t hash[5];    // H0 to H4
    uint8_t buffer[64];  // input not yet compressed, in arrival order
};

void Sha1Start(Sha1Context& context);
void Sha1Add(const uint8_t* data, size_t length, Sha1Context& context);
// Pads, and writes H0 to H4 big-endian.
void Sha1Finish(uint8_t* digest, Sha1Context& context);
// Compresses the 64-byte block buffer, read as sixteen big-endian words, into
// the chaining value.
void Sha1Compress(Sha1Context& context);

namespace sha1_detail {
// The compression of one block given as sixteen words already read.
void CompressWords(uint32_t* hash, const uint32_t* words);
void CompressBytes(uint32_t* hash, const uint8_t* block);
}  // namespace sha1_detail

}  // namespace zolt
