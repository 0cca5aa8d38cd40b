#include "news/NewsNotification.h"

#include "news/LastNewsId.h"
#include "news/NewsTitle.h"
#include "util/HtmlShape.h"

namespace zolt {

std::string NewsHintText(const std::string& title) {
    // The title comes from the news server and is laid out on the GUI
    // thread, wrapped to the balloon's width: a long run of it would hold
    // the window as long as one in a page.
    return std::string(kNewsHintHeading) + "\r\n" + BreakLongTextRuns(NewsTitleText(title));
}

std::optional<std::string> StartupNewsHint(const Services& services, HttpClient& http,
                                           const NewsChannelInfo& channel) {
    const std::optional<NewsClient> client = NewsClient::For(channel, http);
    if (!client) {
        return std::nullopt;
    }
    const std::optional<LatestNews> latest = client->LastNewsCode();
    if (!latest || !latest->id) {
        return std::nullopt;
    }
    // Without a stored id every news counts as new, except a server's id 0.
    const std::optional<NewsId> stored = ReadLastNewsId(services);
    if (latest->id->value() <= (stored ? stored->value() : 0)) {
        return std::nullopt;
    }
    return NewsHintText(latest->title);
}

NewsLineList FetchNewsList(const Services& services, HttpClient& http,
                           const NewsChannelInfo& channel) {
    const std::optional<NewsClient> client = NewsClient::For(channel, http);
    if (!client) {
        return {};
    }
    return client->LastNews(services).value_or(NewsLineList{});
}

}  // namespace zolt
