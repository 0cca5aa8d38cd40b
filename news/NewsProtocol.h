#pragma once

#include <string>
#include <vector>

#include "branding/BrandSettings.h"
#include "util/Services.h"

namespace zolt {

class HttpClient;

// One news record as received: "id^title^date".
using NewsLine = std::string;
using NewsLineList = std::vector<NewsLine>;

// "BM", "BP", "BG" for the levels with a channel; empty for any other.
std::string ProdTypeCode(const std::string& branderType);

// All current news of this product, appended to `newsList` in reply order.
// Shows the warning of a failure through services.showMessage.
bool GetLastNews(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                 NewsLineList& newsList);

// The newest news id and title; never shows a message.
bool GetLastNewsCode(const Services& services, HttpClient& http,
                     const BrandSettingsRecord& brand, std::string& id, std::string& title);

// The HTML body of one news item. Shows the warning of a failure.
bool GetNewsDetails(const Services& services, HttpClient& http,
                    const BrandSettingsRecord& brand, const std::string& newsId,
                    std::string& html);

}  // namespace zolt
