#pragma once

#include <optional>
#include <string>

#include "tools/Authenticode.h"
#include "util/Result.h"

namespace zolt {

struct BrandInstallerRequest {
    std::string brandFolder;            // dbsettings.dat, bannerN.dat, mainskin.dat, main.ico
    std::string baseFolder;             // the unpacked portable folder, rssfeedzolt.exe in it
    std::string outFolder;              // where the installer is written
    std::string name;                   // its name; empty: made of the product name
    std::optional<SigningKey> signing;  // signs the installer and its programs
};

// Makes a Windows installer of the brand: the portable folder's files with
// the brand's beside rssfeedzolt.exe, installed per machine under the
// product's name. With a signing key the installer, its .exe and .dll files
// and the uninstaller it writes are signed (osslsigncode; the uninstaller
// through this tool's own "sign" command, which makensis runs). Returns the
// installer's path, or why there is none. Runs makensis; nothing but the
// installer is left behind.
Result<std::string> MakeBrandInstaller(const BrandInstallerRequest& request);

}  // namespace zolt
