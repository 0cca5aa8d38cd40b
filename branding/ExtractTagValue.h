#pragma once

#include <cstddef>
#include <string>

#include "branding/SettingsTag.h"
#include "util/Text.h"

namespace zolt {

// Reads one element from the front part of `unread` and moves the reader
// forward: after a found element, `unread` begins with its closing tag; after
// an opening tag without closing tag, just behind the opening tag; with no
// opening tag at all, `unread` is left as it is. Tags match ASCII-case-
// insensitively; the value is returned verbatim (never trimmed), and a
// missing element reads as "".
std::string ExtractTagValue(std::string& unread, const std::string& opening,
                            const std::string& closing);
std::string ExtractTagValue(std::string& unread, const SettingsTag& tag);

}  // namespace zolt
