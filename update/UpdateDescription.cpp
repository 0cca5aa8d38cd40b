#include "update/UpdateDescription.h"

#include <QString>
#include <QUrl>

#include <charconv>

#include "branding/AppVersion.h"
#include "crypto/Ed25519.h"
#include "crypto/Sha256.h"
#include "util/Encoding.h"
#include "util/IniReader.h"
#include "util/Text.h"

namespace zolt {

float VersionNumber(const std::string& text) {
    // Digits with at most one point, optionally signed: no exponents, no
    // "inf" or "nan", no comma of a locale, nothing around the number.
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] >= '0' && text[k] <= '9') {
            digits = true;
        } else if (text[k] == '.' && !point) {
            point = true;
        } else {
            return 0.0f;
        }
    }
    if (!digits) {
        return 0.0f;
    }
    // from_chars takes no "+" and knows no locale.
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0.0f;
    }
    return value;
}

bool IsNewerVersion(const std::string& versionText, const std::string& than) {
    return VersionNumber(versionText) > VersionNumber(than.empty() ? AppVersion : than);
}

const char* ThisSystemPackageSection() {
#ifdef _WIN32
    return kWindowsPackageSection;
#else
    return kLinuxPackageSection;
#endif
}

Result<PackageDescription> ReadPackageDescription(const std::string& infoText,
                                                  const std::string& section) {
    const IniReader ini(infoText);
    const std::string where = "the update description's [" + section + "] section ";
    PackageDescription d;
    d.file = ini.ReadString(section, "File");
    if (d.file.empty()) {
        return Fail(where + "names no package File for this system");
    }
    const std::string size = ini.ReadString(section, "Size");
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), d.size);
    if (size.empty() || error != std::errc() || end != size.data() + size.size() || d.size <= 0) {
        return Fail(where + "gives no Size in bytes");
    }
    if (d.size > kMaxPackageSize) {
        return Fail("the package is " + size + " bytes, more than an update package may be (" +
                    std::to_string(kMaxPackageSize) + ")");
    }
    const std::optional<std::string> hash = DecodeHex(ini.ReadString(section, "SHA256"));
    if (!hash || hash->size() != kSha256DigestSize) {
        return Fail(where + "gives no SHA256 of 64 hexadecimal digits");
    }
    d.sha256 = *hash;
    const std::optional<std::string> signature = DecodeBase64(ini.ReadString(section, "Signature"));
    if (!signature || signature->size() != kEd25519SignatureSize) {
        return Fail(where + "gives no Signature (base64 of 64 bytes)");
    }
    d.signature = *signature;
    return d;
}

Result<std::string> PackageAddress(const std::string& baseUrl, const std::string& file) {
    const QUrl base(ToQString(baseUrl));
    const QUrl address = base.resolved(QUrl(ToQString(file), QUrl::StrictMode));
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != "http" && scheme != "https") || address.host().isEmpty()) {
        return Fail("the package address \"" + file + "\" is not an http or https address");
    }
    return address.toString(QUrl::FullyEncoded).toStdString();
}

std::string PackageDescriptionLines(const std::string& section, const PackageDescription& d) {
    return "[" + section + "]\r\nFile=" + d.file + "\r\nSize=" + std::to_string(d.size) +
           "\r\nSHA256=" + EncodeHex(d.sha256) + "\r\nSignature=" + EncodeBase64(d.signature) +
           "\r\n";
}

}  // namespace zolt
