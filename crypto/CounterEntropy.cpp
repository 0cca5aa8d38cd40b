#include "crypto/RandomPool.h"

#include <time.h>

#include <chrono>

// The entropy source of the POSIX systems; Windows has its own file.
namespace zolt {

namespace {

uint64_t TickCountMs() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

uint32_t CounterEntropy(uint8_t* buffer, uint32_t wanted) {
    uint64_t value;
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) == 0) {
        value = static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
    } else {
        value = TickCountMs();
    }
    const uint32_t n = wanted < 8 ? wanted : 8;
    for (uint32_t i = 0; i < n; ++i) {
        buffer[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return n;
}

}  // namespace zolt
