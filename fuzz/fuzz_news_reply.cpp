// The three news replies (all news, last code, details) with their success
// and failure rules, the news id number, and the last-news id that the news
// bookkeeping reads from and writes into a settings text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "branding/ExtractTagValue.h"
#include "branding/SettingsText.h"
#include "fuzz/FuzzCheck.h"
#include "news/LastNewsId.h"
#include "news/NewsId.h"
#include "news/NewsNotification.h"
#include "news/NewsProtocol.h"
#include "news/NewsReply.h"
#include "util/Text.h"

using namespace zolt;

namespace {

void CheckReplies(const std::string& raw) {
    const std::string reply = Trim(raw);
    for (const NewsReplyKind kind :
         {NewsReplyKind::All, NewsReplyKind::LastCode, NewsReplyKind::Details}) {
        const bool success = IsNewsSuccess(reply, kind);
        const std::string failure = NewsFailureMessage(reply, kind);
        // The server's error words are never success.
        if (!failure.empty()) {
            FUZZ_CHECK(!success);
        }
        if (kind == NewsReplyKind::All && reply.empty()) {
            FUZZ_CHECK(!failure.empty());
        }
    }

    for (const std::string& line : ParseAllNewsReply(reply)) {
        FUZZ_CHECK(!line.empty());
        FUZZ_CHECK(line != kNewsSuccessMarker);
        FUZZ_CHECK(line.find(kNewsRecordSeparator) == std::string::npos);
        FUZZ_CHECK(IsNewsId(line.substr(0, line.find(kNewsFieldSeparator))));
    }

    std::string id = "stale";
    std::string title = "stale";
    ParseLastCodeReply(reply, id, title);
    FUZZ_CHECK(id.empty() ? title.empty() : IsNewsId(id));
    FUZZ_CHECK(id.find(kNewsFieldSeparator) == std::string::npos);
    FUZZ_CHECK(title.find(kNewsFieldSeparator) == std::string::npos);
    FUZZ_CHECK(id.size() + title.size() <= reply.size());
    (void)NewsIdToInt(id);

    const std::string html = ParseDetailsReply(reply);
    FUZZ_CHECK(html.size() <= reply.size());
}

void CheckNewsId(const std::string& text) {
    const std::int64_t value = NewsIdToInt(text);
    // A number that reads back as itself was taken whole.
    if (value != 0) {
        FUZZ_CHECK(NewsIdToInt(std::to_string(value)) == value);
    }
}

// Only a news id is stored; it reads back as itself, and the rest of the
// text survives.
void CheckLastNewsId(const std::string& plain, const std::string& id) {
    const std::string stored = LastNewsIdFromText(plain);
    FUZZ_CHECK(stored.empty() || IsNewsId(stored));
    const std::optional<std::string> written = TextWithLastNewsId(plain, id);
    FUZZ_CHECK(written.has_value() == IsNewsId(id));
    if (!written) {
        return;
    }
    FUZZ_CHECK(written->size() >= 2 && written->compare(written->size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(LastNewsIdFromText(*written) == id);
    const std::string rebuilt = RebuildSettingsText(plain);
    if (FindNoCase(rebuilt, kLastNewsIdOpenTag) == std::string::npos) {
        FUZZ_CHECK(*written == rebuilt + kLastNewsIdOpenTag + id + kLastNewsIdCloseTag + "\r\n");
    }
    // Writing the same id again changes nothing.
    FUZZ_CHECK(TextWithLastNewsId(*written, id) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string rest = fuzz::Bytes(data, size);
    CheckReplies(rest);
    CheckNewsId(rest);
    const std::string id = fuzz::TakeUntilNul(rest);
    CheckLastNewsId(rest, id);
    (void)NewsScriptUrl(id, kLastNewsScript);
    (void)ProdTypeCode(id);
    return 0;
}
