#include "branding/UpdateSettings.h"

#include <QUrl>

#include "branding/ExtractTagValue.h"
#include "crypto/Ed25519.h"
#include "util/Encoding.h"
#include "util/Text.h"

namespace zolt {

std::string ReadUpdateSetting(const std::string& text, const char* key) {
    std::string unread = text;
    return Trim(ExtractTagValue(unread, SettingsTag{key}));
}

Result<std::string> CheckUpdateBaseUrl(const std::string& value) {
    const QUrl url(ToQString(value), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty() ||
        url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty()) {
        return Fail(std::string(kUpdateBaseUrlKey) + " \"" + value +
                    "\" is not an http or https address of a folder");
    }
    if (value.empty() || value.back() != '/') {
        return Fail(std::string(kUpdateBaseUrlKey) + " \"" + value + "\" does not end in \"/\"");
    }
    return value;
}

Result<std::string> DecodeUpdatePublicKey(const std::string& value) {
    const std::optional<std::string> key = DecodeBase64(value);
    if (!key || key->size() != kEd25519PublicKeySize) {
        return Fail(std::string(kUpdatePublicKeyKey) + " is not the base64 text of a " +
                    std::to_string(kEd25519PublicKeySize) + "-byte Ed25519 public key");
    }
    return *key;
}

Result<UpdateSite> CopyUpdateSite(const std::string& brandBaseUrl,
                                  const std::string& brandPublicKey, const UpdateSite& maker) {
    UpdateSite site = maker;
    if (!brandBaseUrl.empty()) {
        Result<std::string> url = CheckUpdateBaseUrl(brandBaseUrl);
        if (!url.ok()) {
            return Fail(url.error());
        }
        site.baseUrl = *url;
    }
    if (!brandPublicKey.empty()) {
        Result<std::string> key = DecodeUpdatePublicKey(brandPublicKey);
        if (!key.ok()) {
            return Fail(key.error());
        }
        site.publicKey = *key;
    }
    return site;
}

}  // namespace zolt
