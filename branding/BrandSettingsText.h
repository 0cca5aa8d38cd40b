#pragma once

#include <string>
#include <vector>

#include "branding/BrandSettings.h"

namespace zolt {

// Everything a settings text holds, before the random choices are made.
struct ParsedBrandSettings {
    // The single-valued keys; `AffiliateURL` with the placeholder replaced.
    // The chosen welcome page, banner and links are still empty.
    BrandSettingsRecord record;
    std::string makeMoneyButton;
    std::vector<std::string> welcomePages;
    std::vector<std::string> banners;
    std::vector<std::string> links;
};

// Reads a rebuilt settings text (see RebuildSettingsText) with one forward
// reader, keys in table order, then the three lists, each from 1 up to the
// first empty entry and at most 16.
ParsedBrandSettings ParseBrandSettings(const std::string& text);

// Every "%%AFFILIATEID%%" (exact case) in `url` replaced by `affiliateId`.
std::string SubstituteAffiliateId(const std::string& url, const std::string& affiliateId);

// Window title for a product name: the name, " v" and the version.
std::string BrandWindowTitle(const std::string& applicationName);
// The Make Money button's caption; its design caption when the file has none.
std::string MakeMoneyCaption(const std::string& makeMoneyButton);
// Whether the news button shows for this brand; see the level table in
// the implementation. Only applied when a settings file exists.
bool NewsButtonVisible(const BrandSettingsRecord& settings);

}  // namespace zolt
