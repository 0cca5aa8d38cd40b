#include "util/WebAddress.h"

#include <QUrl>

#include "util/Text.h"

namespace zolt {

std::optional<std::string> BrowserAddress(const std::string& url) {
    const QUrl parsed(ToQString(Trim(url)), QUrl::TolerantMode);
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
    return parsed.toEncoded(QUrl::FullyEncoded).toStdString();
}

}  // namespace zolt
