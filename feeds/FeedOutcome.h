#pragma once

#include <string>

namespace zolt {

// What a generator button leads to: a warning for the user, or the text to
// write into the page.
struct FeedOutcome {
    std::string warning;
    std::string text;

    bool ok() const { return warning.empty(); }
};

inline constexpr const char* kSearchKeywordWarning = "Please provide a valid Search Keyword.";
inline constexpr const char* kRssFeedWarning = "Please provide a valid RSS Feed.";
inline constexpr const char* kEbayCampaignWarning = "Please provide a valid Ebay Campaign ID.";
inline constexpr const char* kMainKeywordWarning = "Please provide a valid Main Keyword.";
inline constexpr const char* kAlternativeKeywordWarning =
    "Please provide a valid Alternative Keyword.";
inline constexpr const char* kCodeCopiedMessage =
    "The code was copied to the clipboard! Now you can paste it inside your webpage.";

}  // namespace zolt
