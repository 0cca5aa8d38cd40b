#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// What a generator button leads to: the text to write into the page, or a
// warning for the user as the error.
using FeedOutcome = Result<std::string>;

inline constexpr const char* kSearchKeywordWarning = "Please provide a valid Search Keyword.";
inline constexpr const char* kRssFeedWarning = "Please provide a valid RSS Feed.";
inline constexpr const char* kEbayCampaignWarning = "Please provide a valid Ebay Campaign ID.";
inline constexpr const char* kMainKeywordWarning = "Please provide a valid Main Keyword.";
inline constexpr const char* kAlternativeKeywordWarning =
    "Please provide a valid Alternative Keyword.";
inline constexpr const char* kCodeCopiedMessage =
    "The code was copied to the clipboard! Now you can paste it inside your webpage.";

}  // namespace zolt
