#pragma once

#include <optional>
#include <string>
#include <vector>

#include "branding/BrandSettings.h"
#include "net/HttpClient.h"
#include "news/NewsId.h"
#include "news/NewsReply.h"
#include "util/Result.h"

namespace zolt {

// One news record as received: "id^title^date".
using NewsLine = std::string;
using NewsLineList = std::vector<NewsLine>;

inline constexpr const char* kLastNewsScript = "getlastnews.php";
inline constexpr const char* kNewsDetailsScript = "getnewsdetails.php";

// The script's address under the channel's base URL, with exactly one "/"
// between them when the base URL has none at its end.
std::string NewsScriptUrl(const std::string& baseUrl, const std::string& script);

// The reseller's news server as this copy asks it: the three requests, each
// blocking while the event loop runs. A failed request says what the user is
// to read: the message of the server's error word, or that the news site
// could not be reached. It is quiet when the user is told nothing: the
// request was cut short because the program is closing, the reply is one
// the program has no message for, or it was the start-up question for the
// newest id.
class NewsClient {
  public:
    // Nothing for a channel this copy may not ask: a level without one, or
    // one without a publisher id. Such a copy never sends a request.
    static std::optional<NewsClient> For(const NewsChannelInfo& channel, HttpClient& http);

    // The form fields of the requests, in the order they are sent.
    FormFields LastNewsFields(const std::string& conttype) const;
    FormFields NewsDetailsFields(const NewsId& id) const;

    // All current news of this product, in reply order.
    Result<NewsLineList> LastNews() const;

    // The newest news id and title; every failure is quiet.
    Result<LatestNews> LastNewsCode() const;

    // The HTML body of one news item.
    Result<std::string> NewsDetails(const NewsId& id) const;

  private:
    NewsClient(const NewsChannelInfo& channel, HttpClient& http)
        : channel_(channel), http_(&http) {}

    // The trimmed reply when it reports success, else why not.
    Result<std::string> Ask(const std::string& script, const FormFields& fields,
                            NewsReplyKind kind) const;
    FormFields IdentityFields() const;

    NewsChannelInfo channel_;
    HttpClient* http_;
};

}  // namespace zolt
