#pragma once

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

// Whether campaign id, main keyword and alternative keyword all hold text;
// fails with the warning for the first of them, in that order, that is blank.
Status CheckEbayFeedFields(const std::string& campaignId, const std::string& mainKeyword,
                           const std::string& alternativeKeyword);

// "Generate Code": the snippet for the fields as typed, or the first warning.
FeedOutcome EbayFeedCode(const EbayFeedFields& typed);

}  // namespace zolt
