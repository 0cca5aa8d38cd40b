#pragma once

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

}  // namespace zolt
