#pragma once

#include <cstddef>
#include <cstdint>

namespace zolt {

inline constexpr uint32_t kRandomPoolSize = 260;  // 13 SHA-1 digests

// Fills up to `wanted` bytes of `buffer` and returns how many it filled (at
// least 1).
using EntropySource = uint32_t (*)(uint8_t* buffer, uint32_t wanted);

// The salt generator: a pool stirred with SHA-1 compressions.
struct RandomPool {
    uint8_t pool[kRandomPoolSize];
    uint8_t output[kRandomPoolSize];
    uint32_t position;  // next byte of `output` to hand out
    EntropySource source;
};

void RandomPoolInit(EntropySource source, RandomPool& pool);
void RandomPoolRead(uint8_t* output, size_t count, RandomPool& pool);
void RandomPoolClear(RandomPool& pool);

// The 64-bit high-resolution counter (the monotonic clock in nanoseconds;
// on Windows the performance counter), or the millisecond tick count when
// that cannot be read, least significant byte first: the smaller of `wanted`
// and 8 bytes.
uint32_t CounterEntropy(uint8_t* buffer, uint32_t wanted);
// `counter` into `buffer` that way; what each system's CounterEntropy ends with.
uint32_t CounterBytes(uint64_t counter, uint8_t* buffer, uint32_t wanted);

// The stirring steps, exposed so that their byte orders can be checked.
void MixPool(uint8_t* buffer);
void RefreshPool(RandomPool& pool);

}  // namespace zolt
