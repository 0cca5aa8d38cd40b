#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

// A broken property is a finding like a crash: libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace zolt::fuzz {

inline std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Cuts one field off the front of the input: the bytes up to the first NUL,
// or everything when there is none. Lets one input carry several texts.
inline std::string TakeUntilNul(std::string& rest) {
    const size_t at = rest.find('\0');
    if (at == std::string::npos) {
        std::string all = std::move(rest);
        rest.clear();
        return all;
    }
    std::string piece = rest.substr(0, at);
    rest.erase(0, at + 1);
    return piece;
}

}  // namespace zolt::fuzz
