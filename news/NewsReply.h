#pragma once

#include <optional>
#include <string>
#include <vector>

#include "news/NewsId.h"

namespace zolt {

// The three replies of the news server differ in how they carry success.
enum class NewsReplyKind {
    All,       // records separated by 0xAF, the last one "OK"
    LastCode,  // "OK" alone, or "id^title" 0xAF "OK"
    Details,   // the escaped HTML, 0xAF "OK"
};

inline constexpr char kNewsRecordSeparator = '\xAF';
inline constexpr char kNewsFieldSeparator = '^';
inline constexpr const char* kNewsSuccessMarker = "OK";

inline constexpr const char* kNewsAccessFailedMessage =
    "There is a trouble accessing the news site. Contact your provider.";
inline constexpr const char* kNewsConnectionFailMessage =
    "There is a trouble in the settings file on the news site.";
inline constexpr const char* kNewsInvalidUserMessage =
    "There is a trouble with the Publisher Id. Contact your provider.";
inline constexpr const char* kNewsInvalidProductMessage =
    "There is a trouble with the product validation. Contact your provider.";
inline constexpr const char* kNewsInvalidNewsMessage =
    "There is a trouble with this news. Contact your provider.";

// Whether a trimmed reply reports success. Only the marker where the reply
// puts it counts: an error page that merely contains the letters "OK"
// somewhere is a failure.
bool IsNewsSuccess(const std::string& reply, NewsReplyKind kind);

// The news lines of a successful "all" reply, in reply order; empty pieces,
// the marker and lines whose id is not a news id are left out.
std::vector<std::string> ParseAllNewsReply(const std::string& reply);

// What a successful "lastcode" reply says: the newest id and its title. No id
// (and no title) when the server has no news or sends an id that is not one;
// a title the reply lacks reads as empty.
struct LatestNews {
    std::optional<NewsId> id;
    std::string title;
};
LatestNews ParseLastCodeReply(const std::string& reply);

// The HTML of a successful details reply: marker removed, "$hh" decoded.
std::string ParseDetailsReply(const std::string& reply);

// The warning for a failed trimmed reply (empty for a request that got no
// answer), or "" when that reply has none.
std::string NewsFailureMessage(const std::string& reply, NewsReplyKind kind);

}  // namespace zolt
