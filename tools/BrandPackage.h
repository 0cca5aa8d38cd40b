#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

struct BrandPackageRequest {
    std::string brandFolder;  // dbsettings.dat, bannerN.dat, mainskin.dat, main.ico
    std::string baseDeb;      // the rssfeedzolt package whose program is used
    std::string outFolder;    // where the new package is written
    std::string name;         // package name; empty: made of the product name
    std::string summary;      // one-line description; empty: the base package's
    std::string maintainer;   // "Name <address>", required
    std::string repository;   // the brand's apt repository; empty: none
    std::string keyFile;      // the repository's public key (with `repository`)
};

// Makes a Debian package of the brand that names the brand only: the
// program of the base package as /usr/lib/NAME/NAME with the brand's files
// beside it, /usr/bin/NAME, feedreader.php in /usr/share/NAME, a desktop
// entry, icons, metainfo, manual page, copyright and changelog of the brand,
// and the base package's dependencies. With a repository the package adds
// its apt sources entry, signed by the key that it installs as a keyring in
// /usr/share/keyrings, and tells the program so (kRepositoryMarkerFile).
// Returns the package's path, or why there is none. Runs dpkg-deb (and gpg
// for the key); nothing but the new package is left behind.
Result<std::string> MakeBrandPackage(const BrandPackageRequest& request);

}  // namespace zolt
