#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zolt {

// What the program will make of a settings text, and what it will miss.
struct SettingsCheckReport {
    // (name, value) as the program reads them: the keys in reading order,
    // then the list entries read, then what follows from them.
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> warnings;
};

// Checks a decrypted settings text. Banner pictures are looked for in
// `folder`; `canDecode(format, bytes)` tells whether the program can show a
// picture of that format (the bytes empty: whether the format is known).
SettingsCheckReport CheckSettingsText(
    const std::string& plainText, const std::string& folder,
    const std::function<bool(const std::string& format, const std::string& bytes)>& canDecode);

// A value printed on one line: in quotes, CR LF as \n, other control bytes
// as \xHH.
std::string QuoteValue(const std::string& value);

}  // namespace zolt
