#include "news/NewsProtocol.h"

#include "branding/ResellerLevel.h"
#include "news/NewsId.h"
#include "news/NewsReply.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

std::string ProdTypeCode(const std::string& branderType) {
    const ResellerLevelInfo* level = FindResellerLevel(branderType);
    return level != nullptr ? level->prodTypeCode : "";
}

std::string NewsScriptUrl(const std::string& baseUrl, const std::string& script) {
    if (!baseUrl.empty() && baseUrl.back() == '/') {
        return baseUrl + script;
    }
    return baseUrl + "/" + script;
}

namespace {

FormFields IdentityFields(const BrandSettingsRecord& brand) {
    return {{"memusername", NewsChannel(brand).publisherId},
            {"prodcode", brand.BranderCode},
            {"prodtype", ProdTypeCode(brand.BranderType)}};
}

// What a request came back with.
struct NewsReply {
    std::string text;      // trimmed body; empty when the request failed
    bool aborted = false;  // cut short because the program is closing
};

bool HasChannel(const BrandSettingsRecord& brand) {
    const NewsChannelInfo channel = NewsChannel(brand);
    return channel.exists && !channel.publisherId.empty();
}

NewsReply Post(HttpClient& http, const BrandSettingsRecord& brand, const std::string& script,
               const FormFields& fields) {
    NewsReply reply;
    try {
        reply.text = Trim(http.PostForm(NewsScriptUrl(NewsChannel(brand).baseUrl, script), fields,
                                        HttpClient::kDefaultMaxBodySize));
    } catch (const HttpError& e) {
        reply.aborted = e.aborted();
        qCInfo(lcNews) << script.c_str() << (e.aborted() ? "request cut short:" : "request failed:")
                       << e.what();
    } catch (const std::exception& e) {
        // Building or sending the form failed: an empty reply.
        qCInfo(lcNews) << script.c_str() << "request not sent:" << e.what();
    }
    return reply;
}

// The failure's warning, unless the request was cut short: then the window
// that would own the box is on its way out and nobody is waiting for news.
void Warn(const Services& services, const NewsReply& reply, NewsReplyKind kind) {
    if (reply.aborted || !services.showMessage) {
        return;
    }
    const std::string message = NewsFailureMessage(reply.text, kind);
    if (!message.empty()) {
        services.showMessage(MessageKind::Warning, message);
    }
}

}  // namespace

FormFields LastNewsFields(const BrandSettingsRecord& brand, const std::string& conttype) {
    FormFields fields = IdentityFields(brand);
    fields.emplace_back("conttype", conttype);
    fields.emplace_back("newstarget", "UA");
    fields.emplace_back("something", "");
    return fields;
}

FormFields NewsDetailsFields(const BrandSettingsRecord& brand, const std::string& newsId) {
    FormFields fields = IdentityFields(brand);
    fields.emplace_back("newsid", newsId);
    fields.emplace_back("newstarget", "UA");
    fields.emplace_back("something", "");
    return fields;
}

bool GetLastNews(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                 NewsLineList& newsList) {
    if (!HasChannel(brand)) {
        return false;
    }
    const NewsReply reply = Post(http, brand, kLastNewsScript, LastNewsFields(brand, "all"));
    if (!reply.aborted && IsNewsSuccess(reply.text, NewsReplyKind::All)) {
        for (auto& line : ParseAllNewsReply(reply.text)) {
            newsList.push_back(std::move(line));
        }
        return true;
    }
    Warn(services, reply, NewsReplyKind::All);
    return false;
}

bool GetLastNewsCode(const Services& /*services*/, HttpClient& http,
                     const BrandSettingsRecord& brand, std::string& id, std::string& title) {
    id.clear();
    title.clear();
    if (!HasChannel(brand)) {
        return false;
    }
    const NewsReply reply = Post(http, brand, kLastNewsScript, LastNewsFields(brand, "lastcode"));
    if (reply.aborted || !IsNewsSuccess(reply.text, NewsReplyKind::LastCode)) {
        return false;
    }
    ParseLastCodeReply(reply.text, id, title);
    return true;
}

bool GetNewsDetails(const Services& services, HttpClient& http, const BrandSettingsRecord& brand,
                    const std::string& newsId, std::string& html) {
    html.clear();
    if (!HasChannel(brand)) {
        return false;
    }
    if (!IsNewsId(newsId)) {
        qCWarning(lcNews) << "news details not requested, the id is not a number";
        return false;
    }
    const NewsReply reply = Post(http, brand, kNewsDetailsScript, NewsDetailsFields(brand, newsId));
    if (!reply.aborted && IsNewsSuccess(reply.text, NewsReplyKind::Details)) {
        html = ParseDetailsReply(reply.text);
        return true;
    }
    Warn(services, reply, NewsReplyKind::Details);
    return false;
}

}  // namespace zolt
