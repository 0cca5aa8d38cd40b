#include "feeds/PhpString.h"

namespace zolt {

std::string PhpQuoted(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"' || c == '$') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace zolt
