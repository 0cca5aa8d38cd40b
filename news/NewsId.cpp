#include "news/NewsId.h"

namespace zolt {

std::optional<NewsId> NewsId::Parse(std::string_view text) {
    if (text.empty() || text.size() > kMaxNewsIdDigits) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        // 18 digits stay below 2^63, so this cannot overflow.
        value = value * 10 + (c - '0');
    }
    return NewsId(std::string(text), value);
}

}  // namespace zolt
