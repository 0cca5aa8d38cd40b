#pragma once

#include <string>

#include "update/UpdateDescription.h"
#include "util/Result.h"

namespace zolt {

// Whether the file at `path` is the package `expected` describes, signed
// with `publicKey` (32 raw bytes): its size first, then its SHA-256, then
// the Ed25519 signature of the whole file. A failure says which check
// refused it; an empty key refuses every package.
Status CheckPackageFile(const std::string& path, const PackageDescription& expected,
                        const std::string& publicKey);

// The description of the package at `path` signed with `secretKey` (64 raw
// bytes, libsodium's form); `file` is the name the update site serves it as.
Result<PackageDescription> SignPackageFile(const std::string& path, const std::string& file,
                                           const std::string& secretKey);

}  // namespace zolt
