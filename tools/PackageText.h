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
};

std::string DesktopEntryText(const BrandPackageInfo& info);

// The AppStream id, "com.rssfeedzolt.brand_" and the name.
std::string MetainfoId(const std::string& packageName);
// `releases`: the <releases> element, or empty.
std::string MetainfoText(const BrandPackageInfo& info, const std::string& releases);

// DEBIAN/control: the brand's package with the base package's Version,
// Architecture, Maintainer, Depends, Recommends, Section and Priority.
std::string ControlText(const BrandPackageInfo& info,
                        const std::map<std::string, std::string>& baseFields,
                        long long installedKiB);

}  // namespace zolt
