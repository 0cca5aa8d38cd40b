#include "update/PackageCheck.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <span>

#include "crypto/Ed25519.h"
#include "crypto/Sha256.h"
#include "util/Text.h"

namespace zolt {

namespace {

// The package's bytes, mapped rather than read: a signature covers the
// whole file, and a mapped file costs no heap.
class MappedPackage {
  public:
    explicit MappedPackage(const std::string& path) : file_(PathToQString(path)) {}

    Status Open() {
        if (!file_.open(QIODevice::ReadOnly)) {
            return Fail("the package cannot be read: " + FromQString(file_.errorString()));
        }
        if (file_.size() > kMaxPackageSize) {
            return Fail("the package is larger than an update package may be");
        }
        if (file_.size() > 0) {
            data_ = file_.map(0, file_.size());
            if (data_ == nullptr) {
                return Fail("the package cannot be read: " + FromQString(file_.errorString()));
            }
        }
        return {};
    }
    std::span<const uint8_t> bytes() const {
        return {data_, static_cast<size_t>(data_ != nullptr ? file_.size() : 0)};
    }

  private:
    QFile file_;
    uchar* data_ = nullptr;
};

std::string DigestOf(std::span<const uint8_t> bytes) {
    Sha256 hash;
    hash.Add(bytes.data(), bytes.size());
    const Sha256Digest digest = hash.Finish();
    return std::string(digest.begin(), digest.end());
}

}  // namespace

Status CheckPackageFile(const std::string& path, const PackageDescription& expected,
                        const std::string& publicKey) {
    if (publicKey.size() != kEd25519PublicKeySize) {
        return Fail("this copy holds no key to check update packages with");
    }
    MappedPackage package(path);
    if (Status opened = package.Open(); !opened.ok()) {
        return opened;
    }
    const std::span<const uint8_t> bytes = package.bytes();
    if (static_cast<std::int64_t>(bytes.size()) != expected.size) {
        return Fail("the package is " + std::to_string(bytes.size()) + " bytes, not the " +
                    std::to_string(expected.size) + " that the update site announced");
    }
    if (DigestOf(bytes) != expected.sha256) {
        return Fail("the package's SHA-256 is not the one the update site announced");
    }
    Ed25519Signature signature{};
    Ed25519PublicKey key{};
    std::memcpy(signature.data(), expected.signature.data(),
                std::min(signature.size(), expected.signature.size()));
    std::memcpy(key.data(), publicKey.data(), key.size());
    if (expected.signature.size() != signature.size() || !VerifyEd25519(bytes, signature, key)) {
        return Fail("the package is not signed with this copy's update key");
    }
    return {};
}

Result<PackageDescription> SignPackageFile(const std::string& path, const std::string& file,
                                           const std::string& secretKey) {
    if (secretKey.size() != kEd25519SecretKeySize) {
        return Fail("the key file does not hold an Ed25519 secret key");
    }
    MappedPackage package(path);
    if (Status opened = package.Open(); !opened.ok()) {
        return Fail(opened.error());
    }
    PackageDescription d;
    d.file = file;
    d.size = static_cast<std::int64_t>(package.bytes().size());
    d.sha256 = DigestOf(package.bytes());
    Ed25519SecretKey key{};
    std::memcpy(key.data(), secretKey.data(), key.size());
    Ed25519Signature signature{};
    const bool signedOk = SignEd25519(package.bytes(), key, signature);
    std::fill(key.begin(), key.end(), uint8_t{0});
    if (!signedOk) {
        return Fail("the key file's secret key is damaged (its halves do not belong together)");
    }
    d.signature.assign(signature.begin(), signature.end());
    return d;
}

}  // namespace zolt
