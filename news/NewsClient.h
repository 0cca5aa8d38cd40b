#pragma once

#include <optional>
#include <string>
#include <vector>

#include "branding/BrandSettings.h"
#include "net/HttpClient.h"
#include "news/NewsId.h"
#include "news/NewsReply.h"
#include "util/Services.h"

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
// blocking while the event loop runs. A failure that the user must know of
// is shown through services.showMessage, except when the request was cut
// short because the program is closing.
class NewsClient {
  public:
    // Nothing for a channel this copy may not ask: a level without one, or
    // one without a publisher id. Such a copy never sends a request.
    static std::optional<NewsClient> For(const NewsChannelInfo& channel, HttpClient& http);

    // The form fields of the requests, in the order they are sent.
    FormFields LastNewsFields(const std::string& conttype) const;
    FormFields NewsDetailsFields(const NewsId& id) const;

    // All current news of this product, in reply order; nothing on failure,
    // after its warning.
    std::optional<NewsLineList> LastNews(const Services& services) const;

    // The newest news id and title; nothing on failure. Never shows a message:
    // the start-up check stays silent.
    std::optional<LatestNews> LastNewsCode() const;

    // The HTML body of one news item; nothing on failure, after its warning.
    std::optional<std::string> NewsDetails(const Services& services, const NewsId& id) const;

  private:
    NewsClient(const NewsChannelInfo& channel, HttpClient& http)
        : channel_(channel), http_(&http) {}

    struct Reply {
        std::string text;      // trimmed body; empty when the request failed
        bool aborted = false;  // cut short because the program is closing
    };
    Reply Post(const std::string& script, const FormFields& fields) const;
    FormFields IdentityFields() const;

    NewsChannelInfo channel_;
    HttpClient* http_;
};

}  // namespace zolt
