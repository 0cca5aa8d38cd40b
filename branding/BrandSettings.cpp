#include "branding/BrandSettings.h"

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
    if (s.BranderType == "Master") {
        return {s.MasterNewsBaseURL, s.MasterPublID, true};
    }
    if (s.BranderType == "Platinum") {
        return {s.PlatinumNewsBaseURL, s.PlatinumPublID, true};
    }
    if (s.BranderType == "Gold") {
        return {s.GoldNewsBaseURL, s.GoldPublID, true};
    }
    return {};
}

}  // namespace zolt
