// SplitByChar: the first byte is the separator, the rest the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "util/UUtils.h"

using namespace zolt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    const std::string source = fuzz::Bytes(data + 1, size - 1);
    // A list that already holds something is cleared first.
    std::vector<std::string> fields = {"left over"};
    SplitByChar(separator, source, fields);

    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        FUZZ_CHECK(fields[i].find(separator) == std::string::npos);
        if (i > 0) {
            joined += separator;
        }
        joined += fields[i];
    }
    // Joined again the fields give the text back, less a trailing separator
    // (whose empty last field is dropped).
    std::string expected = source;
    if (!expected.empty() && expected.back() == separator) {
        expected.pop_back();
    }
    FUZZ_CHECK(joined == expected);
    std::size_t separators = 0;
    for (const char c : source) {
        separators += c == separator ? 1 : 0;
    }
    const bool trailing = !source.empty() && source.back() == separator;
    FUZZ_CHECK(fields.size() == separators + (source.empty() || trailing ? 0 : 1));
    return 0;
}
