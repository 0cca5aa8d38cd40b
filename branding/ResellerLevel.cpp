#include "branding/ResellerLevel.h"

#include <array>

namespace zolt {

namespace {

using R = BrandSettingsRecord;

constexpr std::array<ResellerLevelInfo, 4> kLevels = {{
    {"Master", "BM", &R::MasterNewsBaseURL, &R::MasterPublID, &R::MasterNewsBaseURL,
     &R::MasterPublID},
    {"Platinum", "BP", &R::PlatinumNewsBaseURL, &R::PlatinumPublID, &R::PlatinumNewsBaseURL,
     &R::PlatinumPublID},
    {"Gold", "BG", &R::GoldNewsBaseURL, &R::GoldPublID, &R::GoldNewsBaseURL, &R::GoldPublID},
    {"Free", "", nullptr, nullptr, &R::MasterNewsBaseURL, &R::MasterPublID},
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

}  // namespace zolt
