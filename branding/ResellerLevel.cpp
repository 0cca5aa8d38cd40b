#include "branding/ResellerLevel.h"

#include <array>

namespace zolt {

namespace {

using R = BrandSettingsRecord;

constexpr std::array<ResellerLevelInfo, 4> kLevels = {{
    {ResellerLevel::Master, "Master", "BM", &R::MasterNewsBaseURL, &R::MasterPublID,
     &R::MasterNewsBaseURL, &R::MasterPublID},
    {ResellerLevel::Platinum, "Platinum", "BP", &R::PlatinumNewsBaseURL, &R::PlatinumPublID,
     &R::PlatinumNewsBaseURL, &R::PlatinumPublID},
    {ResellerLevel::Gold, "Gold", "BG", &R::GoldNewsBaseURL, &R::GoldPublID, &R::GoldNewsBaseURL,
     &R::GoldPublID},
    {ResellerLevel::Free, "Free", "", nullptr, nullptr, &R::MasterNewsBaseURL, &R::MasterPublID},
}};

}  // namespace

std::span<const ResellerLevelInfo> ResellerLevelTable() {
    return kLevels;
}

const ResellerLevelInfo* FindResellerLevel(const std::string& branderType) {
    for (const ResellerLevelInfo& info : kLevels) {
        if (branderType == info.name) {
            return &info;
        }
    }
    return nullptr;
}

ResellerLevel ResellerLevelOf(const BrandSettingsRecord& settings) {
    const ResellerLevelInfo* info = FindResellerLevel(settings.BranderType);
    return info != nullptr ? info->level : ResellerLevel::Unknown;
}

}  // namespace zolt
