#include "crypto/RandomPool.h"

#include <cstring>

#include "crypto/Sha1.h"
#include "crypto/Wipe.h"

namespace zolt {

namespace {

inline uint32_t LoadLe32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

inline void StoreLe32(uint8_t* p, uint32_t w) {
    p[0] = static_cast<uint8_t>(w);
    p[1] = static_cast<uint8_t>(w >> 8);
    p[2] = static_cast<uint8_t>(w >> 16);
    p[3] = static_cast<uint8_t>(w >> 24);
}

}  // namespace

uint32_t CounterBytes(uint64_t counter, uint8_t* buffer, uint32_t wanted) {
    const uint32_t n = wanted < 8 ? wanted : 8;
    for (uint32_t i = 0; i < n; ++i) {
        buffer[i] = static_cast<uint8_t>(counter >> (8 * i));
    }
    return n;
}

void MixPool(uint8_t* buffer) {
    Sha1Context context;
    for (uint32_t i = 0; i < kRandomPoolSize; i += kSha1DigestSize) {
        const uint32_t previous = (i == 0 ? kRandomPoolSize : i) - kSha1DigestSize;
        for (uint32_t k = 0; k < 5; ++k) {
            context.hash[k] = LoadLe32(buffer + previous + 4 * k);
        }
        for (uint32_t k = 0; k < kSha1BlockSize; ++k) {
            context.buffer[k] = buffer[(i + k) % kRandomPoolSize];
        }
        Sha1Compress(context);
        for (uint32_t k = 0; k < 5; ++k) {
            StoreLe32(buffer + i + 4 * k, context.hash[k]);
        }
    }
    SecureZero(&context, sizeof context);
}

void RefreshPool(RandomPool& pool) {
    std::memcpy(pool.output, pool.pool, kRandomPoolSize);
    uint32_t filled = 0;
    while (filled < kRandomPoolSize) {
        const uint32_t wanted = kRandomPoolSize - filled;
        uint32_t n = pool.source(pool.pool + filled, wanted);
        // A source that breaks its promise must not stall the loop or
        // overrun the pool.
        if (n == 0) {
            n = 1;
        } else if (n > wanted) {
            n = wanted;
        }
        filled += n;
    }
    for (uint32_t i = 0; i < kRandomPoolSize; ++i) {
        pool.pool[i] ^= static_cast<uint8_t>(~pool.output[i]);
    }
    MixPool(pool.pool);
    MixPool(pool.output);
}

void RandomPoolInit(EntropySource source, RandomPool& pool) {
    std::memset(&pool, 0, sizeof pool);
    pool.source = source;
    RefreshPool(pool);
    for (int i = 0; i < 20; ++i) {
        MixPool(pool.pool);
    }
    RefreshPool(pool);
    pool.position = 0;
}

void RandomPoolRead(uint8_t* output, size_t count, RandomPool& pool) {
    while (count != 0) {
        const size_t left = kRandomPoolSize - pool.position;
        const size_t take = count < left ? count : left;
        std::memcpy(output, pool.output + pool.position, take);
        output += take;
        count -= take;
        pool.position += static_cast<uint32_t>(take);
        if (pool.position == kRandomPoolSize) {
            RefreshPool(pool);
            pool.position = 0;
        }
    }
}

void RandomPoolClear(RandomPool& pool) {
    SecureZero(&pool, sizeof pool);
}

}  // namespace zolt
