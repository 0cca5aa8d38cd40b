#pragma once

#include <string>
#include <vector>

#include "branding/BrandSettings.h"
#include "net/HttpClient.h"
#include "util/Services.h"

namespace zolt {

// One news record as received: "id^title^date".
using NewsLine = std::string;
using NewsLineList = std::vector<NewsLine>;

inline constexpr const char* kLastNewsScript = "getlastnews.php";
inline constexpr const char* kNewsDetailsScript = "getnewsdetails.php";

// "BM", "BP", "BG" for the levels with a channel; empty for any other.
std::string ProdTypeCode(const std::string& branderType);

// The script's address under the channel's base URL, with exactly one "/"
// between them when the base URL has none at its end.
std::string NewsScriptUrl(const std::string& baseUrl, const std::string& script);

// The form fields of the three requests, in the order they are sent.
FormFields LastNewsFields(const BrandSettingsRecord& brand, const std::string& conttype);
FormFields NewsDetailsFields(const BrandSettingsRecord& brand, const std::string& newsId);

// All current news of this product, appended to `newsList` in reply order.
// Shows the warning of a failure through services.showMessage. False without
// a request for a level without a channel or with an empty publisher id.
bool GetLastNews(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                 NewsLineList& newsList);

// The newest news id and title; never shows a message.
bool GetLastNewsCode(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                     std::string& id, std::string& title);

// The HTML body of one news item. Shows the warning of a failure. An id that
// is not a news id (IsNewsId) is never sent: false, without a request.
bool GetNewsDetails(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                    const std::string& newsId, std::string& html);

}  // namespace zolt
