#include "branding/BrandSettings.h"

#include "branding/ResellerLevel.h"

namespace zolt {

NewsChannelInfo NewsChannel(const BrandSettingsRecord& s) {
    const ResellerLevelInfo* level = FindResellerLevel(s.BranderType);
    if (level == nullptr || level->newsBaseUrl == nullptr) {
        return {};
    }
    return {s.*level->newsBaseUrl, s.*level->publisherId, level->prodTypeCode, s.BranderCode, true};
}

}  // namespace zolt
