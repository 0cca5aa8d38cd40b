#include "branding/ExtractTagValue.h"

#include <algorithm>

namespace zolt {

namespace {

// Only ASCII letters fold: the settings text is in a legacy code page whose
// upper half must compare byte for byte.
char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::size_t FindNoCase(const std::string& haystack, const std::string& needle, std::size_t from) {
    if (from > haystack.size()) {
        return std::string::npos;
    }
    const auto begin = haystack.begin() + static_cast<std::ptrdiff_t>(from);
    const auto it = std::search(begin, haystack.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
    if (it == haystack.end() && !needle.empty()) {
        return std::string::npos;
    }
    return static_cast<std::size_t>(it - haystack.begin());
}

std::string ExtractTagValue(std::string& unread, const std::string& opening,
                            const std::string& closing) {
    const std::size_t open = FindNoCase(unread, opening);
    if (open == std::string::npos) {
        return std::string();
    }
    unread.erase(0, open + opening.size());
    const std::size_t close = FindNoCase(unread, closing);
    if (close == std::string::npos) {
        return std::string();
    }
    std::string value = unread.substr(0, close);
    unread.erase(0, close);
    return value;
}

std::string ExtractTagValue(std::string& unread, const SettingsTag& tag) {
    return ExtractTagValue(unread, tag.Opening(), tag.Closing());
}

}  // namespace zolt
