#include "branding/SettingsKeys.h"

namespace zolt {

namespace {

using R = BrandSettingsRecord;

const SettingsKey kKeys[] = {
    {"ApplicationName", &R::ApplicationName},
    {"BranderCode", &R::BranderCode},
    {"BranderType", &R::BranderType},
    {"AffiliateURL", &R::AffiliateURL},
    {"AffiliateTYPE", &R::AffiliateTYPE},
    {"AffiliateID", &R::AffiliateID},
    {"MasterNewsBaseURL", &R::MasterNewsBaseURL},
    {"PlatinumNewsBaseURL", &R::PlatinumNewsBaseURL},
    {"GoldNewsBaseURL", &R::GoldNewsBaseURL},
    {"MasterPublID", &R::MasterPublID},
    {"PlatinumPublID", &R::PlatinumPublID},
    {"GoldPublID", &R::GoldPublID},
    {kMakeMoneyButtonKey, nullptr},
    {"AppHelpURL", &R::AppHelpURL},
    {"CopyrightYears", &R::CopyrightYears},
    {"CopyrightCompany", &R::CopyrightCompany},
    {"AboutText", &R::AboutText},
};

}  // namespace

std::span<const SettingsKey> SettingsKeyTable() {
    return kKeys;
}

SettingsTag ListEntryTag(const std::string& list, int number) {
    return SettingsTag{list + std::to_string(number)};
}

}  // namespace zolt
