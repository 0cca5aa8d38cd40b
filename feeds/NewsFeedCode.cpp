#include "feeds/NewsFeedCode.h"

#include "feeds/FeedSearchSources.h"
#include "feeds/PhpString.h"
#include "util/Text.h"

namespace zolt {

std::string NewsSnippet(const std::string& feedAddress, int cacheTime, bool showTitles,
                        int numItems) {
    return "<?php\r\n"
           "include_once \"feedreader.php\";\r\n"
           "getnewsfeed(" +
           PhpQuoted(feedAddress) + "," + std::to_string(cacheTime) + "," +
           (showTitles ? "1" : "0") + "," + std::to_string(numItems) +
           ");\r\n"
           "?>\r\n";
}

FeedOutcome NewsFeedCode(const std::string& feedText, int cacheTime, bool showTitles,
                         int numItems) {
    const std::string address = Trim(feedText);
    if (address.empty()) {
        return Fail(kRssFeedWarning);
    }
    return NewsSnippet(address, cacheTime, showTitles, numItems);
}

FeedOutcome FindRssFeed(int sourceIndex, const std::string& keywordText) {
    const std::string keyword = Trim(keywordText);
    if (keyword.empty()) {
        return Fail(kSearchKeywordWarning);
    }
    return SearchFeedAddress(sourceIndex, keyword).value_or("");
}

}  // namespace zolt
