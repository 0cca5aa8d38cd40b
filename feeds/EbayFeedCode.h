#pragma once

#include <optional>
#include <string>

#include "feeds/FeedOutcome.h"

namespace zolt {

// The eBay page's fields as read from the controls.
struct EbayFeedFields {
    std::string campaignId;
    std::string siteId;
    std::string mainKeyword;
    std::string alternativeKeyword;
    int cacheTime = 0;
    int numAuctions = 0;
};

// The four-line snippet, each line ended by CR LF, that calls getebayfeed with
// the (already trimmed) texts.
std::string EbaySnippet(const EbayFeedFields& trimmed);

// The warning for the first of campaign id, main keyword and alternative
// keyword that is blank, in that order; none when all three hold text.
std::optional<std::string> EbayFeedWarning(const std::string& campaignId,
                                           const std::string& mainKeyword,
                                           const std::string& alternativeKeyword);

// "Generate Code": the snippet for the fields as typed, or the first warning.
FeedOutcome EbayFeedCode(const EbayFeedFields& typed);

}  // namespace zolt
