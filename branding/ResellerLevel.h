#pragma once

#include <span>
#include <string>

#include "branding/BrandSettings.h"

namespace zolt {

// Everything that depends on the reseller level a settings file names in
// "BranderType", one row per level. Adding a level is adding a row.
struct ResellerLevelInfo {
    const char* name;          // as "BranderType" spells it, compared exactly
    const char* prodTypeCode;  // sent to the news server; "" without a channel
    // The level's own news channel; nullptr for a level without one.
    std::string BrandSettingsRecord::*newsBaseUrl;
    std::string BrandSettingsRecord::*publisherId;
    // The channel whose fields decide whether the news button shows. A Free
    // copy shows it for a filled Master channel although it has no channel of
    // its own to ask; pressing it then only reports that there is no news.
    std::string BrandSettingsRecord::*buttonBaseUrl;
    std::string BrandSettingsRecord::*buttonPublisherId;
};

std::span<const ResellerLevelInfo> ResellerLevelTable();

// The row of `branderType`; nullptr for a value that names no level (other
// letter case or blanks included).
const ResellerLevelInfo* FindResellerLevel(const std::string& branderType);

}  // namespace zolt
