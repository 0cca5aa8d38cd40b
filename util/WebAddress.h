#pragma once

#include <optional>
#include <string>

namespace zolt {

// The form in which an address may be handed to the user's browser: an
// absolute http or https address with a host, or a mailto address, re-encoded
// from its parsed parts (so it starts with its scheme, never with "-").
// Nothing for anything else: other schemes, local files, relative links,
// browser switches. A mail address keeps its address list and the subject,
// body, cc and bcc fields, nothing else.
std::optional<std::string> BrowserAddress(const std::string& url);

}  // namespace zolt
