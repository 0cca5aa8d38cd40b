// BrowserAddress: what may be handed to the user's browser or mail client.

#include <QUrl>
#include <QUrlQuery>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "util/WebAddress.h"

using namespace zolt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<std::string> address = BrowserAddress(fuzz::Bytes(data, size));
    if (!address) {
        return 0;
    }
    const bool web = address->rfind("http://", 0) == 0 || address->rfind("https://", 0) == 0;
    const bool mail = address->rfind("mailto:", 0) == 0;
    FUZZ_CHECK(web || mail);
    // Re-encoded: nothing a shell, a command line or a terminal would read.
    for (const char c : *address) {
        FUZZ_CHECK(c > ' ' && c < 127 && c != '"' && c != '\\' && c != '`');
    }
    // What was handed over is taken again as it stands.
    FUZZ_CHECK(BrowserAddress(*address) == address);
    if (mail) {
        const QUrl url(QString::fromStdString(*address), QUrl::StrictMode);
        FUZZ_CHECK(url.isValid() && !url.hasFragment());
        // Fields are split at "&" only: a client that splits at ";" as well
        // finds no other field.
        FUZZ_CHECK(!url.query(QUrl::FullyEncoded).contains(';'));
        for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
            const QString name = key.toLower();
            FUZZ_CHECK(name == "subject" || name == "body" || name == "cc" || name == "bcc");
        }
    }
    return 0;
}
