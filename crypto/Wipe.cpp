#include "crypto/Wipe.h"

#include <string.h>

namespace zolt {

void SecureZero(void* data, size_t length) {
    if (length != 0) {
        explicit_bzero(data, length);
    }
}

}  // namespace zolt
