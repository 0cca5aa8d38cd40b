#pragma once

#include <string>
#include <vector>

#include "util/Result.h"
#include "util/Services.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {

// Cuts `source` into fields at every `separator`. Empty fields between or
// before separators are kept; a trailing empty field is not.
void SplitByChar(char separator, const std::string& source, std::vector<std::string>& list);

// Decodes the "$hh" escapes of the news server's HTML; fails at the first
// bad escape, naming where it stands.
Result<std::string> DecodeDollarHex(const std::string& source);

// Hands `url` to the user's default browser: the one the system registers
// (Windows), else Debian's x-www-browser, else xdg-open (which cannot start
// without an address). The browser is started
// detached with the address as its only argument, none for an empty URL.
// Only what BrowserAddress accepts is handed over, in its re-encoded form;
// anything else is refused with a log line. False when the address was
// refused or no browser command was found; true once handed over.
bool LaunchBrowser(const Services& services, const std::string& url);

}  // namespace zolt
