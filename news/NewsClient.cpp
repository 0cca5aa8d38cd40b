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

Result<std::string> NewsClient::Ask(const std::string& script, const FormFields& fields,
                                    NewsReplyKind kind) const {
    Result<std::string> posted = http_->PostForm(NewsScriptUrl(channel_.baseUrl, script), fields,
                                                 HttpClient::kDefaultMaxBodySize);
    if (!posted.ok()) {
        qCInfo(lcNews) << script.c_str() << "request failed:" << posted.error().c_str();
        if (posted.quiet()) {
            // The window that would show the message is on its way out.
            return posted;
        }
    }
    const std::string reply = posted.ok() ? Trim(*posted) : std::string();
    if (IsNewsSuccess(reply, kind)) {
        return reply;
    }
    const std::string message = NewsFailureMessage(reply, kind);
    if (message.empty()) {
        return QuietFail(script + " gave a reply without news or a known error word");
    }
    return Fail(message);
}

Result<NewsLineList> NewsClient::LastNews() const {
    Result<std::string> reply = Ask(kLastNewsScript, LastNewsFields("all"), NewsReplyKind::All);
    if (!reply.ok()) {
        return reply.failure();
    }
    return ParseAllNewsReply(*reply);
}

Result<LatestNews> NewsClient::LastNewsCode() const {
    Result<std::string> reply =
        Ask(kLastNewsScript, LastNewsFields("lastcode"), NewsReplyKind::LastCode);
    if (!reply.ok()) {
        return reply.failure();
    }
    return ParseLastCodeReply(*reply);
}

Result<std::string> NewsClient::NewsDetails(const NewsId& id) const {
    Result<std::string> reply =
        Ask(kNewsDetailsScript, NewsDetailsFields(id), NewsReplyKind::Details);
    if (!reply.ok()) {
        return reply.failure();
    }
    return ParseDetailsReply(*reply);
}

}  // namespace zolt
