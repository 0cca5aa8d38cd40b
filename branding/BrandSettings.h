#pragma once

#include <string>

#include "branding/AppVersion.h"
#include "branding/BrandContent.h"

namespace zolt {

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
    // Read from anywhere in the text (see branding/UpdateSettings.h), as
    // written, trimmed.
    std::string UpdateBaseURL;
    std::string UpdatePublicKey;

    // The choices made at start among the numbered lists.
    BrandContent content;
};

// The news server of a reseller level and who asks it: everything a news
// request carries, so that the news code needs no more of the brand.
struct NewsChannelInfo {
    std::string baseUrl;
    std::string publisherId;
    std::string levelCode;    // "prodtype" on the wire: "BM", "BP", "BG"
    std::string productCode;  // "prodcode" on the wire: the brand's BranderCode
    bool exists = false;      // false for levels without a channel
};

// The channel that `BranderType` selects ("Master", "Platinum", "Gold",
// compared exactly); no channel for anything else.
NewsChannelInfo NewsChannel(const BrandSettingsRecord& settings);

}  // namespace zolt
