#include "crypto/RandomPool.h"

#include <windows.h>

namespace zolt {

uint32_t CounterEntropy(uint8_t* buffer, uint32_t wanted) {
    LARGE_INTEGER counter;
    return CounterBytes(QueryPerformanceCounter(&counter) != 0
                            ? static_cast<uint64_t>(counter.QuadPart)
                            : GetTickCount64(),
                        buffer, wanted);
}

}  // namespace zolt
