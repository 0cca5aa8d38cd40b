#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// The two settings that let a brand run its own update site and sign its own
// packages. They came after the order of the other keys was fixed, so each
// is read from the start of the text, wherever it stands.
inline constexpr const char* kUpdateBaseUrlKey = "UpdateBaseURL";
inline constexpr const char* kUpdatePublicKeyKey = "UpdatePublicKey";

// Where a copy looks for updates and the key its packages must be signed
// with (32 raw bytes; empty: the copy installs no package).
struct UpdateSite {
    std::string baseUrl;
    std::string publicKey;
};

// The value of `key`'s element anywhere in a rebuilt settings text, trimmed;
// empty when the text has none.
std::string ReadUpdateSetting(const std::string& text, const char* key);

// An update site address: http or https with a host, ending in "/".
Result<std::string> CheckUpdateBaseUrl(const std::string& value);
// The raw key of an "UpdatePublicKey" value: base64 of exactly 32 bytes.
Result<std::string> DecodeUpdatePublicKey(const std::string& value);

// The copy's site: the brand's address and key where its settings set them,
// else the maker's built into the program. A value the brand set but that
// cannot be used is a failure, never a quiet fall-back to the maker's.
Result<UpdateSite> CopyUpdateSite(const std::string& brandBaseUrl,
                                  const std::string& brandPublicKey, const UpdateSite& maker);

}  // namespace zolt
