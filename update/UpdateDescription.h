#pragma once

#include <cstdint>
#include <string>

#include "util/Result.h"

namespace zolt {

inline constexpr const char* kUpdateInfoFile = "mainappupdate.inf";
// The sections of "mainappupdate.inf" that describe each system's package,
// beside "[APPLICATION]", which older copies read alone.
inline constexpr const char* kWindowsPackageSection = "WIN64";
inline constexpr const char* kLinuxPackageSection = "LINUX64";
// No package of this program comes near it; the download stops there.
inline constexpr std::int64_t kMaxPackageSize = std::int64_t{512} * 1024 * 1024;

// A version text as a number with "." as the decimal point, whatever the
// locale; anything that is not a plain decimal number reads as 0.
float VersionNumber(const std::string& text);
// Whether `versionText` is strictly newer than `than` (this program's
// version unless given).
bool IsNewerVersion(const std::string& versionText, const std::string& than = "");

// The section of the system this program was built for.
const char* ThisSystemPackageSection();

// What the update site says of one system's package.
struct PackageDescription {
    std::string file;       // name or address, relative to the update site
    std::int64_t size = 0;  // bytes
    std::string sha256;     // 32 raw bytes
    std::string signature;  // 64 raw bytes, Ed25519 of the whole file
};

// The package of `section` in an update description, each value checked:
// a failure says which is missing or malformed.
Result<PackageDescription> ReadPackageDescription(const std::string& infoText,
                                                  const std::string& section);

// The package's address: its File resolved against the update site's
// folder; only http and https.
Result<std::string> PackageAddress(const std::string& baseUrl, const std::string& file);

// The lines of a package's section for "mainappupdate.inf", CR LF ended.
std::string PackageDescriptionLines(const std::string& section, const PackageDescription& d);

}  // namespace zolt
