#include "branding/BrandSettingsText.h"

#include "branding/ExtractTagValue.h"
#include "branding/ResellerLevel.h"
#include "branding/SettingsKeys.h"
#include "branding/UpdateSettings.h"

namespace zolt {

namespace {

constexpr char kAffiliatePlaceholder[] = "%%AFFILIATEID%%";

std::vector<std::string> ReadList(std::string& unread, const std::string& list) {
    std::vector<std::string> entries;
    for (int n = 1; n <= kMaxListEntries; ++n) {
        std::string value = ExtractTagValue(unread, ListEntryTag(list, n));
        if (value.empty()) {
            break;
        }
        entries.push_back(std::move(value));
    }
    return entries;
}

}  // namespace

std::string SubstituteAffiliateId(const std::string& url, const std::string& affiliateId) {
    const std::string placeholder = kAffiliatePlaceholder;
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = url.find(placeholder, from);
        if (at == std::string::npos) {
            break;
        }
        out.append(url, from, at - from);
        out += affiliateId;
        from = at + placeholder.size();
    }
    out.append(url, from, std::string::npos);
    return out;
}

ParsedBrandSettings ParseBrandSettings(const std::string& text) {
    ParsedBrandSettings parsed;
    std::string unread = text;
    for (const SettingsKey& key : SettingsKeyTable()) {
        std::string value = ExtractTagValue(unread, SettingsTag{key.name});
        if (key.field != nullptr) {
            parsed.record.*key.field = std::move(value);
        } else {
            parsed.makeMoneyButton = std::move(value);
        }
    }
    parsed.record.AffiliateURL =
        SubstituteAffiliateId(parsed.record.AffiliateURL, parsed.record.AffiliateID);
    parsed.welcomePages = ReadList(unread, kSettingsListKeys[0]);
    parsed.banners = ReadList(unread, kSettingsListKeys[1]);
    parsed.links = ReadList(unread, kSettingsListKeys[2]);
    parsed.record.UpdateBaseURL = ReadUpdateSetting(text, kUpdateBaseUrlKey);
    parsed.record.UpdatePublicKey = ReadUpdateSetting(text, kUpdatePublicKeyKey);
    return parsed;
}

std::string BrandWindowTitle(const std::string& applicationName) {
    return applicationName + " v" + AppVersion;
}

std::string MakeMoneyCaption(const std::string& makeMoneyButton) {
    return makeMoneyButton.empty() ? std::string("Make Money") : makeMoneyButton;
}

bool NewsButtonVisible(const BrandSettingsRecord& s) {
    const ResellerLevelInfo* level = FindResellerLevel(s.BranderType);
    return level != nullptr && !(s.*level->buttonPublisherId).empty() &&
           !(s.*level->buttonBaseUrl).empty();
}

}  // namespace zolt
