#include "feeds/EbayFeedCode.h"

#include "feeds/PhpString.h"
#include "util/Text.h"

namespace zolt {

std::string EbaySnippet(const EbayFeedFields& f) {
    return "<?php\r\n"
           "include_once \"feedreader.php\";\r\n"
           "getebayfeed(" +
           PhpQuoted(f.campaignId) + "," + f.siteId + "," + PhpQuoted(f.mainKeyword) + "," +
           PhpQuoted(f.alternativeKeyword) + "," + std::to_string(f.cacheTime) + "," +
           std::to_string(f.numAuctions) +
           ");\r\n"
           "?>\r\n";
}

Status CheckEbayFeedFields(const std::string& campaignId, const std::string& mainKeyword,
                           const std::string& alternativeKeyword) {
    if (Trim(campaignId).empty()) {
        return Fail(kEbayCampaignWarning);
    }
    if (Trim(mainKeyword).empty()) {
        return Fail(kMainKeywordWarning);
    }
    if (Trim(alternativeKeyword).empty()) {
        return Fail(kAlternativeKeywordWarning);
    }
    return {};
}

FeedOutcome EbayFeedCode(const EbayFeedFields& typed) {
    const Status checked =
        CheckEbayFeedFields(typed.campaignId, typed.mainKeyword, typed.alternativeKeyword);
    if (!checked.ok()) {
        return checked.failure();
    }
    EbayFeedFields trimmed = typed;
    trimmed.campaignId = Trim(typed.campaignId);
    trimmed.mainKeyword = Trim(typed.mainKeyword);
    trimmed.alternativeKeyword = Trim(typed.alternativeKeyword);
    return EbaySnippet(trimmed);
}

}  // namespace zolt
