#pragma once

#include <string>

#include "tools/PackageText.h"

namespace zolt {

// The documents of a brand's package, in the brand's words only.

// usr/share/doc/NAME/copyright in Debian's machine-readable form: the brand's
// years and company as copyright holder, the maintainer as contact.
std::string CopyrightText(const BrandPackageInfo& info, const std::string& years);

// usr/share/doc/NAME/changelog: one entry for `version`, signed by the
// maintainer on `date` (RFC 2822).
std::string ChangelogText(const BrandPackageInfo& info, const std::string& version,
                          const std::string& date);

// The manual page NAME(1): what the program does, where the brand's files and
// feedreader.php are.
std::string ManPageText(const BrandPackageInfo& info, const std::string& version);

// `text` as roff input that prints it: backslashes and hyphens escaped, and
// a line start that roff would read as a request kept as text.
std::string RoffText(const std::string& text);

}  // namespace zolt
