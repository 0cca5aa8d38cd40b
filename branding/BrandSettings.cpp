#include "branding/BrandSettings.h"

#include "branding/ResellerLevel.h"

namespace zolt {

namespace {
BrandSettingsRecord& Storage() {
    static BrandSettingsRecord record;
    return record;
}
}  // namespace

const BrandSettingsRecord& BrandSettings() {
    return Storage();
}

void SetBrandSettings(const BrandSettingsRecord& settings) {
    Storage() = settings;
}

NewsChannelInfo NewsChannel(const BrandSettingsRecord& s) {
    const ResellerLevelInfo* level = FindResellerLevel(s.BranderType);
    if (level == nullptr || level->newsBaseUrl == nullptr) {
        return {};
    }
    return {s.*level->newsBaseUrl, s.*level->publisherId, true};
}

}  // namespace zolt
