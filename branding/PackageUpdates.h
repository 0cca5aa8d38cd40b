#pragma once

#include <string>

namespace zolt {

// The file that a brand's package with an apt repository of its own puts
// into the program folder beside "installed-by-package": the package
// manager brings the updates from there.
inline constexpr const char* kRepositoryMarkerFile = "updates-from-repository";

// How a copy installed by the package manager gets a newer version.
struct PackageUpdates {
    bool fromRepository = false;  // the package added its brand's repository
    std::string site;             // the brand's web site, empty when it names none
};

// What `baseDir` (the program folder) and the brand's help address
// (`AppHelpURL`, the brand's site when it is an http or https address) say.
PackageUpdates ReadPackageUpdates(const std::string& baseDir, const std::string& appHelpUrl);

// The message for a newer version `versionText` of a package install: the
// package manager brings it with the next update when the package came with
// a repository; else the user downloads it from the brand's site.
std::string PackageUpdateText(const std::string& versionText, const PackageUpdates& updates);

}  // namespace zolt
