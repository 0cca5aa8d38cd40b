// DecodeDollarHex: the "$hh" escapes of the news server's HTML.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "util/UUtils.h"

using namespace zolt;

namespace {

std::string EncodeAll(const std::string& plain) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char ch : plain) {
        const auto c = static_cast<unsigned char>(ch);
        out += '$';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    const Result<std::string> decoded = DecodeDollarHex(bytes);
    // Every escape shrinks the text; nothing else changes its length.
    FUZZ_CHECK(!decoded.ok() || decoded->size() <= bytes.size());
    if (bytes.find('$') == std::string::npos) {
        FUZZ_CHECK(decoded.ok() && *decoded == bytes);
    }
    // Escaping every byte, in either letter case, and decoding gives it back.
    FUZZ_CHECK(DecodeDollarHex(EncodeAll(bytes)).value() == bytes);
    std::string upper = EncodeAll(bytes);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    FUZZ_CHECK(DecodeDollarHex(upper).value() == bytes);
    return 0;
}
