#include "news/NewsId.h"

#include <algorithm>

namespace zolt {

bool IsNewsId(std::string_view text) {
    return !text.empty() && text.size() <= kMaxNewsIdDigits &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace zolt
