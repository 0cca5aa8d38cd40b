#pragma once

#include <string>

namespace zolt {

// The program's version; not read from the settings file.
inline constexpr const char* AppVersion = "2.01";

// What the settings file "dbsettings.dat" says about the reseller's brand.
// The main window fills its own while it is created and hands it, read-only,
// to whatever needs it.
struct BrandSettingsRecord {
    std::string ApplicationName;
    std::string BranderCode;
    std::string BranderType;
    std::string AffiliateURL;  // with "%%AFFILIATEID%%" already replaced
    std::string AffiliateTYPE;
    std::string AffiliateID;
    std::string MasterNewsBaseURL;
    std::string PlatinumNewsBaseURL;
    std::string GoldNewsBaseURL;
    std::string MasterPublID;
    std::string PlatinumPublID;
    std::string GoldPublID;
    std::string AppHelpURL;
    std::string CopyrightYears;
    std::string CopyrightCompany;
    std::string AboutText;

    // The choices made at start among the numbered lists.
    std::string WelcomeHtml;
    std::string BannerImageName;
    std::string BannerClickURL;
    std::string Link1Caption;
    std::string Link1URL;
    std::string Link2Caption;
    std::string Link2URL;
};

// The news server of a reseller level: base URL and publisher id.
struct NewsChannelInfo {
    std::string baseUrl;
    std::string publisherId;
    bool exists = false;  // false for levels without a channel
};

// The channel that `BranderType` selects ("Master", "Platinum", "Gold",
// compared exactly); no channel for anything else.
NewsChannelInfo NewsChannel(const BrandSettingsRecord& settings);

}  // namespace zolt
