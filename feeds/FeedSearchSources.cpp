#include "feeds/FeedSearchSources.h"

namespace zolt {

const std::array<FeedSearchSource, 3> FeedSearchSources = {{
    {"Google News", "news.google.com",
     "/news?pz=1&cf=all&ned=es_us&hl=en&q=", "&cf=all&output=rss"},
    {"Yahoo News", "news.search.yahoo.com", "/news/rss?p=", "&ei=UTF-8&fl=0&x=wrt"},
    {"BBC News", "newsapi.bbc.co.uk", "/feeds/search/news+sport/", ""},
}};

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string EncodeSearchKeyword(const std::string& keyword) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(keyword.size());
    for (const char ch : keyword) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '+';
        } else if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::optional<std::string> SearchFeedAddress(int sourceIndex, const std::string& keyword) {
    if (sourceIndex < 0 || sourceIndex >= static_cast<int>(FeedSearchSources.size())) {
        return std::nullopt;
    }
    const FeedSearchSource& source = FeedSearchSources[static_cast<size_t>(sourceIndex)];
    return std::string("http://") + source.host + source.beforeKeyword +
           EncodeSearchKeyword(keyword) + source.afterKeyword;
}

}  // namespace zolt
