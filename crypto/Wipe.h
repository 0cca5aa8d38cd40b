#pragma once

#include <cstddef>

namespace zolt {

// Overwrites key material with zeros in a way the compiler keeps.
void SecureZero(void* data, size_t length);

}  // namespace zolt
