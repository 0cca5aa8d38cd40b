#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// Makes a new Ed25519 key pair for signing update packages: the secret key
// goes to `keyFile` (which must not exist yet; readable by its owner only),
// the result is the public key as the settings file takes it, an
// "UpdatePublicKey" element.
Result<std::string> MakeUpdateKeyFile(const std::string& keyFile);

// Signs the update package at `package` with the secret key in `keyFile`
// after checking it as the updater will: the "[WIN64]" (a .zip) or
// "[LINUX64]" (a .tar.gz) section for "mainappupdate.inf".
Result<std::string> SignUpdatePackage(const std::string& keyFile, const std::string& package);

}  // namespace zolt
