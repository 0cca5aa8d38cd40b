#include "crypto/Wipe.h"

#include <windows.h>

namespace zolt {

// SecureZeroMemory writes through volatile pointers: no optimiser drops it.
void SecureZero(void* data, size_t length) {
    if (length != 0) {
        SecureZeroMemory(data, length);
    }
}

}  // namespace zolt
