#pragma once

#include <array>
#include <optional>
#include <string>

namespace zolt {

// A news-search service whose RSS search address the feed finder composes:
// "http://" + host + beforeKeyword + keyword + afterKeyword.
struct FeedSearchSource {
    const char* name;
    const char* host;
    const char* beforeKeyword;
    const char* afterKeyword;
};

// The rows behind the "Source Site:" list; the row number is the item index.
extern const std::array<FeedSearchSource, 3> FeedSearchSources;

// The trimmed keyword made safe for an address: blanks become "+", ASCII
// letters, digits and "-._~" stay, every other byte becomes "%XX".
std::string EncodeSearchKeyword(const std::string& keyword);

// The search address of row `sourceIndex` for the trimmed `keyword`; none for
// an index outside the table.
std::optional<std::string> SearchFeedAddress(int sourceIndex, const std::string& keyword);

}  // namespace zolt
