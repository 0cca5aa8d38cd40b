#include "news/NewsReply.h"

#include "news/NewsId.h"
#include "util/Logging.h"
#include "util/UUtils.h"

namespace zolt {

namespace {

const std::string& Marker() {
    static const std::string marker = std::string(1, kNewsRecordSeparator) + kNewsSuccessMarker;
    return marker;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string RemoveMarkers(std::string s) {
    const std::string& marker = Marker();
    for (size_t at = s.find(marker); at != std::string::npos; at = s.find(marker, at)) {
        s.erase(at, marker.size());
    }
    return s;
}

}  // namespace

bool IsNewsSuccess(const std::string& reply, NewsReplyKind kind) {
    if (reply == kNewsSuccessMarker) {
        return true;
    }
    if (kind == NewsReplyKind::All) {
        std::vector<std::string> records;
        SplitByChar(kNewsRecordSeparator, reply, records);
        return !records.empty() && records.back() == kNewsSuccessMarker;
    }
    return EndsWith(reply, Marker());
}

std::vector<std::string> ParseAllNewsReply(const std::string& reply) {
    std::vector<std::string> records;
    SplitByChar(kNewsRecordSeparator, reply, records);
    std::vector<std::string> lines;
    for (const auto& record : records) {
        if (record.empty() || record == kNewsSuccessMarker) {
            continue;
        }
        if (!NewsId::Parse(std::string_view(record).substr(0, record.find(kNewsFieldSeparator)))) {
            qCWarning(lcNews) << "news line skipped, its id is not a number:"
                              << QByteArray::fromStdString(record.substr(0, 100));
            continue;
        }
        lines.push_back(record);
    }
    return lines;
}

LatestNews ParseLastCodeReply(const std::string& reply) {
    const std::string rest = RemoveMarkers(reply);
    if (rest == kNewsSuccessMarker) {
        return {};
    }
    std::vector<std::string> fields;
    SplitByChar(kNewsFieldSeparator, rest, fields);
    const std::string idText = fields.empty() ? std::string() : fields[0];
    LatestNews latest{NewsId::Parse(idText), fields.size() > 1 ? fields[1] : std::string()};
    if (!latest.id) {
        qCWarning(lcNews) << "newest news ignored, its id is not a number:"
                          << QByteArray::fromStdString(idText.substr(0, 100));
        return {};
    }
    return latest;
}

std::string ParseDetailsReply(const std::string& reply) {
    Result<std::string> html = DecodeDollarHex(RemoveMarkers(reply));
    if (!html.ok()) {
        // The page is shown empty, and still counts as read.
        qCWarning(lcNews) << "news page left empty:" << html.error().c_str();
        return {};
    }
    return std::move(html).value();
}

std::string NewsFailureMessage(const std::string& reply, NewsReplyKind kind) {
    if (kind == NewsReplyKind::LastCode) {
        return "";
    }
    if (reply.empty()) {
        return kNewsAccessFailedMessage;
    }
    if (reply == "CONNECTIONFAIL") {
        return kNewsConnectionFailMessage;
    }
    if (reply == "INVALIDUSER") {
        return kNewsInvalidUserMessage;
    }
    if (reply == "INVALIDPRODUCT") {
        return kNewsInvalidProductMessage;
    }
    if (reply == "INVALIDNEWS" && kind == NewsReplyKind::Details) {
        return kNewsInvalidNewsMessage;
    }
    return "";
}

}  // namespace zolt
