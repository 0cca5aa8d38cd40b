#pragma once

#include <optional>
#include <string>

#include "branding/BrandSettings.h"
#include "news/NewsClient.h"
#include "util/Services.h"

namespace zolt {

class HttpClient;

inline constexpr char kNewsHintHeading[] = "You've Got A Message!";
inline constexpr char kNoNewsMessage[] = "There's no news for this application!";

// The balloon's text for a news title.
std::string NewsHintText(const std::string& title);

// The start-up news check: asks the server for its newest id and returns the
// hint text when that id is greater than the stored one. Silent; nothing is
// written to the settings file.
std::optional<std::string> StartupNewsHint(const Services& services, HttpClient& http,
                                           const NewsChannelInfo& channel);

// The news button's fetch: the lines to show, empty when there are none or
// the request failed (which shows its own warning); the caller then reports
// that there is no news.
NewsLineList FetchNewsList(const Services& services, HttpClient& http,
                           const NewsChannelInfo& channel);

}  // namespace zolt
