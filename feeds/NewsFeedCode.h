#pragma once

#include <string>

#include "feeds/FeedOutcome.h"

namespace zolt {

// The four-line snippet, each line ended by CR LF, that calls getnewsfeed
// with the (already trimmed) feed address.
std::string NewsSnippet(const std::string& feedAddress, int cacheTime, bool showTitles,
                        int numItems);

// "Generate Code": the snippet for the feed address as typed, or the warning
// when nothing but blanks was typed.
FeedOutcome NewsFeedCode(const std::string& feedText, int cacheTime, bool showTitles, int numItems);

// "Find RSS Feed": the search address of source row `sourceIndex` for the
// keyword as typed, or the warning for a blank keyword. An index outside the
// table (no item chosen) gives neither: the text is empty and nothing changes.
FeedOutcome FindRssFeed(int sourceIndex, const std::string& keywordText);

}  // namespace zolt
