#include "news/NewsNotification.h"

#include <charconv>

#include "news/LastNewsId.h"
#include "util/HtmlShape.h"
#include "util/Text.h"

namespace zolt {

std::int64_t NewsIdToInt(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    // from_chars takes a minus but not a plus.
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '-' || *first == '+')) {
            return 0;
        }
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last || first == last) {
        return 0;
    }
    return value;
}

std::string NewsHintText(const std::string& title) {
    // The title comes from the news server and is laid out on the GUI
    // thread, wrapped to the balloon's width: a long run of it would hold
    // the window as long as one in a page.
    return std::string(kNewsHintHeading) + "\r\n" +
           BreakLongTextRuns(FromQString(ToQString(title)));
}

bool HasNewsChannel(const BrandSettingsRecord& brand) {
    const NewsChannelInfo channel = NewsChannel(brand);
    return channel.exists && !channel.publisherId.empty();
}

std::optional<std::string> StartupNewsHint(const Services& services, HttpClient& http,
                                           const BrandSettingsRecord& brand) {
    if (!HasNewsChannel(brand)) {
        return std::nullopt;
    }
    std::string serverId;
    std::string title;
    if (!GetLastNewsCode(services, http, brand, serverId, title)) {
        return std::nullopt;
    }
    const std::string storedId = ReadLastNewsId(services);
    if (NewsIdToInt(serverId) <= NewsIdToInt(storedId)) {
        return std::nullopt;
    }
    return NewsHintText(title);
}

bool FetchNewsList(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                   NewsLineList& newsList) {
    newsList.clear();
    if (!HasNewsChannel(brand)) {
        return false;
    }
    return GetLastNews(services, http, brand, newsList) && !newsList.empty();
}

}  // namespace zolt
