#include "news/NewsClient.h"

#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

std::string NewsScriptUrl(const std::string& baseUrl, const std::string& script) {
    if (!baseUrl.empty() && baseUrl.back() == '/') {
        return baseUrl + script;
    }
    return baseUrl + "/" + script;
}

namespace {

// The failure's warning, unless the request was cut short: then the window
// that would own the box is on its way out and nobody is waiting for news.
void Warn(const Services& services, const std::string& reply, bool aborted, NewsReplyKind kind) {
    if (aborted || !services.showMessage) {
        return;
    }
    const std::string message = NewsFailureMessage(reply, kind);
    if (!message.empty()) {
        services.showMessage(MessageKind::Warning, message);
    }
}

}  // namespace

std::optional<NewsClient> NewsClient::For(const NewsChannelInfo& channel, HttpClient& http) {
    if (!channel.exists || channel.publisherId.empty()) {
        return std::nullopt;
    }
    return NewsClient(channel, http);
}

FormFields NewsClient::IdentityFields() const {
    return {{"memusername", channel_.publisherId},
            {"prodcode", channel_.productCode},
            {"prodtype", channel_.levelCode}};
}

FormFields NewsClient::LastNewsFields(const std::string& conttype) const {
    FormFields fields = IdentityFields();
    fields.emplace_back("conttype", conttype);
    fields.emplace_back("newstarget", "UA");
    fields.emplace_back("something", "");
    return fields;
}

FormFields NewsClient::NewsDetailsFields(const NewsId& id) const {
    FormFields fields = IdentityFields();
    fields.emplace_back("newsid", id.text());
    fields.emplace_back("newstarget", "UA");
    fields.emplace_back("something", "");
    return fields;
}

NewsClient::Reply NewsClient::Post(const std::string& script, const FormFields& fields) const {
    Reply reply;
    try {
        reply.text = Trim(http_->PostForm(NewsScriptUrl(channel_.baseUrl, script), fields,
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

std::optional<NewsLineList> NewsClient::LastNews(const Services& services) const {
    const Reply reply = Post(kLastNewsScript, LastNewsFields("all"));
    if (!reply.aborted && IsNewsSuccess(reply.text, NewsReplyKind::All)) {
        return ParseAllNewsReply(reply.text);
    }
    Warn(services, reply.text, reply.aborted, NewsReplyKind::All);
    return std::nullopt;
}

std::optional<LatestNews> NewsClient::LastNewsCode() const {
    const Reply reply = Post(kLastNewsScript, LastNewsFields("lastcode"));
    if (reply.aborted || !IsNewsSuccess(reply.text, NewsReplyKind::LastCode)) {
        return std::nullopt;
    }
    return ParseLastCodeReply(reply.text);
}

std::optional<std::string> NewsClient::NewsDetails(const Services& services,
                                                   const NewsId& id) const {
    const Reply reply = Post(kNewsDetailsScript, NewsDetailsFields(id));
    if (!reply.aborted && IsNewsSuccess(reply.text, NewsReplyKind::Details)) {
        return ParseDetailsReply(reply.text);
    }
    Warn(services, reply.text, reply.aborted, NewsReplyKind::Details);
    return std::nullopt;
}

}  // namespace zolt
