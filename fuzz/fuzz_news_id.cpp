// The news id rule: what a server may send as an id and the program keeps.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "news/NewsId.h"

using namespace zolt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::Bytes(data, size);
    const std::optional<NewsId> id = NewsId::Parse(text);
    if (!id) {
        return 0;
    }
    // The id keeps the digits as received.
    FUZZ_CHECK(id->text() == text);
    // Only digits, and few enough that the number fits 64 bits.
    FUZZ_CHECK(!text.empty() && text.size() <= kMaxNewsIdDigits);
    unsigned long long value = 0;
    for (const char c : text) {
        FUZZ_CHECK(c >= '0' && c <= '9');
        FUZZ_CHECK(value <= (UINT64_MAX - 9) / 10);
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    FUZZ_CHECK(value <= static_cast<unsigned long long>(INT64_MAX));
    FUZZ_CHECK(static_cast<unsigned long long>(id->value()) == value);
    return 0;
}
