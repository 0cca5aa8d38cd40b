#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "branding/BrandSettings.h"
#include "news/NewsClient.h"
#include "news/NewsId.h"
#include "util/ProgramConfig.h"
#include "util/Result.h"

namespace zolt {

class HttpClient;

inline constexpr char kNewsHintHeading[] = "You've Got A Message!";
inline constexpr char kNoNewsMessage[] = "There's no news for this application!";

// The balloon's text for the newest title when `count` messages are new.
std::string NewsHintText(const std::string& title, std::size_t count = 1);

// How many different messages of `lines` have an id above `lastRead`
// (every one when nothing was read).
std::size_t UnreadNewsCount(const NewsLineList& lines, const std::optional<NewsId>& lastRead);

// What the start-up check found: how many messages are new, and the
// balloon's text.
struct NewsAnnouncement {
    std::size_t count = 0;
    std::string hint;
};

// The start-up news check: asks the server for its newest id and, when that
// id is greater than the stored one, for the list to count the new ones.
// Silent; nothing when nothing is new or the server could not tell, and
// nothing is written to the settings file.
std::optional<NewsAnnouncement> StartupNewsHint(const ProgramConfig& config, HttpClient& http,
                                                const NewsChannelInfo& channel);

// The news button's fetch: the lines to show; empty for a copy without a
// channel to ask. A failure carries the message the user is to read.
Result<NewsLineList> FetchNewsList(HttpClient& http, const NewsChannelInfo& channel);

}  // namespace zolt
