#pragma once

#include <string>
#include <vector>

#include "util/Result.h"

namespace zolt {

struct AptRepositoryRequest {
    std::string folder;             // the repository; made when missing
    std::string secretKeyFile;      // the OpenPGP secret key that signs it
    std::string password;           // the key's password; empty: none
    std::vector<std::string> debs;  // packages to add
};

// Adds the packages to a signed apt repository of one suite "stable" with
// the component "main": FOLDER/pool/main/ holds every package ever added,
// FOLDER/dists/stable/ the package lists and the Release file, signed as
// InRelease and Release.gpg, and FOLDER/archive-key.asc the public key for
// `zolt-brand package --key`. A package version once published is never
// replaced by other bytes. The lists are made beside the old ones and
// swapped in at the end; on failure the folder is as it was. Returns the
// folder, or why nothing changed. Needs apt-ftparchive, gpg and dpkg-deb.
Result<std::string> MakeAptRepository(const AptRepositoryRequest& request);

}  // namespace zolt
