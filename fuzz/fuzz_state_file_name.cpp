// The name of a brand's state file, made of the BranderCode of a settings
// file: never another folder, a hidden file or a control character, and no
// two codes share a name.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "news/UserState.h"

using namespace zolt;

namespace {

int HexValue(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string code = fuzz::Bytes(data, size);
    const std::optional<std::string> name = StateFileName(code);
    FUZZ_CHECK(name.has_value() == (!code.empty() && code.size() <= kMaxStateNameBytes));
    if (!name) {
        return 0;
    }
    FUZZ_CHECK(!name->empty() && name->size() <= 3 * kMaxStateNameBytes && (*name)[0] != '.');
    // Decoded again it gives the code back, so the name is the code's alone.
    std::string decoded;
    for (size_t i = 0; i < name->size(); ++i) {
        const char c = (*name)[i];
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (plain) {
            decoded += c;
            continue;
        }
        FUZZ_CHECK(c == '%' && i + 2 < name->size());
        const int high = HexValue((*name)[i + 1]);
        const int low = HexValue((*name)[i + 2]);
        FUZZ_CHECK(high >= 0 && low >= 0);
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    FUZZ_CHECK(decoded == code);
    return 0;
}
