#pragma once

#include <map>
#include <string>
#include <vector>

namespace zolt {

// A Debian package name: lower-case letters, digits, "+", "-" and ".",
// starting with a letter or digit, at least two characters.
bool IsPackageName(const std::string& name);

// The package name made of a product name: ASCII letters lower-cased,
// digits kept, every run of other bytes one "-", none at either end; empty
// when that is no package name.
std::string PackageNameFor(const std::string& productName);

// Settings bytes (UTF-8 or Windows-1252) as UTF-8 on one line: control
// characters and runs of blanks become one space, blanks at the ends go.
std::string OneLine(const std::string& bytes);

// Paragraphs of a settings text, each on one line: lines are joined, blank
// lines part them.
std::vector<std::string> Paragraphs(const std::string& bytes);

// `text` broken at blanks into lines of at most `width` characters where
// its words allow.
std::vector<std::string> WrapWords(const std::string& text, std::size_t width);

// A value for a desktop entry: backslashes escaped. The value is one line.
std::string DesktopValue(const std::string& line);

// Text for XML element content and attribute values.
std::string XmlText(const std::string& text);

// What a brand's package says about the brand, each part checked already.
struct BrandPackageInfo {
    std::string name;                     // the package name (IsPackageName)
    std::string product;                  // the product name, one line
    std::string summary;                  // one line, no final full stop
    std::string developer;                // one line
    std::vector<std::string> paragraphs;  // the long description
    std::string maintainer;               // "Name <address>" (IsMaintainer)
    std::string componentId;              // the AppStream id (ComponentId)
    std::string homepage;                 // the brand's web address, or empty
};

// A Debian maintainer: one line "Name <local@domain>", no comma (the field
// would read it as two people).
bool IsMaintainer(const std::string& maintainer);

// The window class and desktop entry name are the package name, so that a
// dock groups the brand's windows under its own entry.
std::string DesktopEntryText(const BrandPackageInfo& info);

// The AppStream id of the brand: the host of `webAddress` (an http or https
// address of the brand's own site) reversed, "www." left out, then the
// package name, each part made of lower-case letters, digits and "_". Without
// such a host, "brand.", the brand's code and the package name.
std::string ComponentId(const std::string& webAddress, const std::string& brandCode,
                        const std::string& packageName);
// `releases`: the <releases> element, or empty.
std::string MetainfoText(const BrandPackageInfo& info, const std::string& releases);

// DEBIAN/control: the brand's package, its maintainer and homepage, with the
// base package's Version, Architecture, Depends, Recommends, Section and
// Priority.
std::string ControlText(const BrandPackageInfo& info,
                        const std::map<std::string, std::string>& baseFields,
                        long long installedKiB);

}  // namespace zolt
