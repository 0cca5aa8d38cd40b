#include "news/NewsNotification.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "news/LastNewsId.h"
#include "news/NewsItem.h"
#include "news/NewsTitle.h"
#include "util/HtmlShape.h"
#include "util/Logging.h"

namespace zolt {

std::string NewsHintText(const std::string& title, std::size_t count) {
    const std::string heading = count > 1 ? "You've Got " + std::to_string(count) + " New Messages!"
                                          : std::string(kNewsHintHeading);
    // The title comes from the news server and is laid out on the GUI
    // thread, wrapped to the balloon's width: a long run of it would hold
    // the window as long as one in a page.
    return heading + "\r\n" + BreakLongTextRuns(NewsTitleText(title));
}

std::size_t UnreadNewsCount(const NewsLineList& lines, const std::optional<NewsId>& lastRead) {
    const std::int64_t read = lastRead ? lastRead->value() : 0;
    std::vector<std::int64_t> unread;
    for (const NewsLine& line : lines) {
        const std::optional<NewsId> id = ParseNewsLine(line).id;
        if (id && id->value() > read) {
            unread.push_back(id->value());
        }
    }
    // The list may name a message twice; it is one message to read.
    std::sort(unread.begin(), unread.end());
    return static_cast<std::size_t>(std::unique(unread.begin(), unread.end()) - unread.begin());
}

std::optional<NewsAnnouncement> StartupNewsHint(const ProgramConfig& config, HttpClient& http,
                                                const NewsChannelInfo& channel) {
    const std::optional<NewsClient> client = NewsClient::For(channel, http);
    if (!client) {
        return std::nullopt;
    }
    const Result<LatestNews> latest = client->LastNewsCode();
    if (!latest.ok() || !latest->id) {
        return std::nullopt;
    }
    // Without a stored id every news counts as new, except a server's id 0.
    const std::optional<NewsId> stored = ReadLastNewsId(config);
    if (latest->id->value() <= (stored ? stored->value() : 0)) {
        return std::nullopt;
    }
    // The newest id alone cannot say how many are new; the list can. When it
    // does not come, the newest one is still news.
    std::size_t count = 1;
    if (const Result<NewsLineList> all = client->LastNews(); all.ok()) {
        count = std::max<std::size_t>(count, UnreadNewsCount(*all, stored));
    } else {
        qCInfo(lcNews) << "new messages not counted:" << all.error().c_str();
    }
    return NewsAnnouncement{count, NewsHintText(latest->title, count)};
}

Result<NewsLineList> FetchNewsList(HttpClient& http, const NewsChannelInfo& channel) {
    const std::optional<NewsClient> client = NewsClient::For(channel, http);
    if (!client) {
        return NewsLineList{};
    }
    return client->LastNews();
}

}  // namespace zolt
