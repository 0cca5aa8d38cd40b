#include "util/WebAddress.h"

#include <QUrl>
#include <QUrlQuery>

#include "util/Text.h"

namespace zolt {

namespace {

// A mail address keeps its address list and the fields that only fill in
// the message; fields such as "attach" make some mail clients attach a file
// of the user's, and a fragment means nothing to any of them.
void KeepMessageFields(QUrl& mail) {
    QUrlQuery kept;
    const QUrlQuery query(mail.query(QUrl::FullyEncoded));
    for (const auto& [key, value] : query.queryItems(QUrl::FullyEncoded)) {
        const QString name = QUrl::fromPercentEncoding(key.toUtf8()).toLower();
        if (name == QLatin1String("subject") || name == QLatin1String("body") ||
            name == QLatin1String("cc") || name == QLatin1String("bcc")) {
            // A client that also splits at ";" must not find a field in a value.
            kept.addQueryItem(key, QString(value).replace(';', QLatin1String("%3B")));
        }
    }
    mail.setQuery(kept.isEmpty() ? QString() : kept.query(QUrl::FullyEncoded), QUrl::StrictMode);
    mail.setFragment(QString());
}

}  // namespace

std::optional<std::string> BrowserAddress(const std::string& url) {
    QUrl parsed(ToQString(Trim(url)), QUrl::TolerantMode);
    if (!parsed.isValid() || parsed.isRelative()) {
        return std::nullopt;
    }
    const QString scheme = parsed.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (web && parsed.host().isEmpty()) {
        return std::nullopt;
    }
    if (!web && (scheme != QLatin1String("mailto") || parsed.path().isEmpty())) {
        return std::nullopt;
    }
    if (!web) {
        KeepMessageFields(parsed);
    }
    return parsed.toEncoded(QUrl::FullyEncoded).toStdString();
}

}  // namespace zolt
