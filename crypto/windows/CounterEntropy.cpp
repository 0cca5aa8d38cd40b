#include "crypto/RandomPool.h"

#include <windows.h>

namespace zolt {

uint32_t CounterEntropy(uint8_t* buffer, uint32_t wanted) {
    uint64_t value;
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter) != 0) {
        value = static_cast<uint64_t>(counter.QuadPart);
    } else {
        value = GetTickCount64();
    }
    const uint32_t n = wanted < 8 ? wanted : 8;
    for (uint32_t i = 0; i < n; ++i) {
        buffer[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return n;
}

}  // namespace zolt
