#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "branding/BrandSettings.h"
#include "news/NewsProtocol.h"
#include "util/Services.h"

namespace zolt {

class HttpClient;

inline constexpr char kNewsHintHeading[] = "You've Got A Message!";
inline constexpr char kNoNewsMessage[] = "There's no news for this application!";

// A news id as a signed 64-bit number: optional sign and decimal digits, as
// the server writes them. Anything else, out of range included, counts as 0.
std::int64_t NewsIdToInt(const std::string& text);

// The balloon's text for a news title.
std::string NewsHintText(const std::string& title);

// True when the brand's level has a channel with a publisher id to ask.
bool HasNewsChannel(const BrandSettingsRecord& brand);

// The start-up news check: asks the server for its newest id and returns the
// hint text when that id is greater than the stored one. Silent; nothing is
// written to the settings file.
std::optional<std::string> StartupNewsHint(const Services& services, HttpClient& http,
                                           const BrandSettingsRecord& brand);

// The news button's fetch: clears `newsList`, fills it from the server and
// returns true when there is at least one line to show. The request shows its
// own warning on failure; the caller reports that there is no news.
bool FetchNewsList(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                   NewsLineList& newsList);

}  // namespace zolt
