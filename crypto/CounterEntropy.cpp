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
    timespec ts{};
    return CounterBytes(
        clock_gettime(CLOCK_MONOTONIC, &ts) == 0
            ? static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec)
            : TickCountMs(),
        buffer, wanted);
}

}  // namespace zolt
