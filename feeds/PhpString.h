#pragma once

#include <string>

namespace zolt {

// `text` as a PHP double-quoted string literal, quotes included, whose value
// is exactly `text`: backslash, double quote and dollar are escaped, so that
// nothing typed can end the string or make PHP interpolate a variable or
// run code. Every other byte stays as it is.
std::string PhpQuoted(const std::string& text);

}  // namespace zolt
