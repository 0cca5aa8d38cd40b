#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// The name of a brand's Debian package: `wanted` (from --name) or the one made
// of the product name, refused when it is no package name, the base
// package's, or what this machine already knows under that name (a package
// dpkg or apt knows, a command in PATH or a system folder). An earlier
// package of the same brand installed here is no other package. Needs apt's
// package lists: without them every name would pass.
Result<std::string> BrandPackageName(const std::string& wanted, const std::string& product);

}  // namespace zolt
