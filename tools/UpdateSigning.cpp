#include "tools/UpdateSigning.h"

#include <QFileInfo>

#include "branding/SettingsTag.h"
#include "branding/UpdateSettings.h"
#include "crypto/Ed25519.h"
#include "crypto/Wipe.h"
#include "tools/BrandToolFiles.h"
#include "update/PackageArchive.h"
#include "update/PackageCheck.h"
#include "update/UpdateDescription.h"
#include "util/Encoding.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr const char* kKeyFileHeader =
    "# The secret Ed25519 key that signs update packages (zolt-brand update-sign).\n"
    "# Keep it off the update site and out of every package and source tree.\n";

Result<std::string> ReadSecretKey(const std::string& keyFile) {
    const Result<std::string> text = ReadToolInput(keyFile);
    if (!text.ok()) {
        return Fail(text.error());
    }
    size_t at = 0;
    while (at < text->size()) {
        const size_t end = std::min(text->find('\n', at), text->size());
        const std::string line = Trim(text->substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::optional<std::string> key = DecodeBase64(line);
        if (!key || key->size() != kEd25519SecretKeySize) {
            break;
        }
        return *key;
    }
    return Fail("\"" + keyFile + "\" holds no key made by zolt-brand update-key");
}

}  // namespace

Result<std::string> MakeUpdateKeyFile(const std::string& keyFile) {
    if (NameIsTaken(keyFile)) {
        return Fail("\"" + keyFile + "\" exists already; it is left as it is");
    }
    Ed25519KeyPair pair;
    if (!MakeEd25519KeyPair(pair)) {
        return Fail("no key could be made: the system's random source failed");
    }
    const std::string secret(pair.secretKey.begin(), pair.secretKey.end());
    std::string text = kKeyFileHeader + EncodeBase64(secret) + "\n";
    const Status saved = WriteToolOutput(keyFile, text, true);
    SecureZero(text.data(), text.size());
    SecureZero(pair.secretKey.data(), pair.secretKey.size());
    if (!saved.ok()) {
        return Fail(saved.error());
    }
    const std::string publicKey(pair.publicKey.begin(), pair.publicKey.end());
    return SettingsTag{kUpdatePublicKeyKey}.Element(EncodeBase64(publicKey));
}

Result<std::string> SignUpdatePackage(const std::string& keyFile, const std::string& package) {
    const std::string name = FromQString(QFileInfo(PathToQString(package)).fileName());
    const std::optional<PackageFormat> format = PackageFormatOf(name);
    if (!format) {
        return Fail("\"" + package +
                    "\" is neither the Windows portable .zip nor the Linux portable .tar.gz");
    }
    // A package the updater would refuse is not worth a signature.
    const Status readable = ReadPackage(
        package, *format, [](const PackageEntry&) { return Result<EntrySink>(EntrySink()); });
    if (!readable.ok()) {
        return Fail("\"" + package + "\" would be refused by the updater: " + readable.error());
    }
    Result<std::string> secret = ReadSecretKey(keyFile);
    if (!secret.ok()) {
        return Fail(secret.error());
    }
    std::string key = std::move(secret).value();
    const Result<PackageDescription> signedPackage = SignPackageFile(package, name, key);
    SecureZero(key.data(), key.size());
    if (!signedPackage.ok()) {
        return Fail(signedPackage.error());
    }
    return PackageDescriptionLines(
        *format == PackageFormat::Zip ? kWindowsPackageSection : kLinuxPackageSection,
        *signedPackage);
}

}  // namespace zolt
