// The three news replies (all news, last code, details) with their success
// and failure rules, a title as it is shown, the news id number, and the
// last-news id that the news bookkeeping reads from and writes into a
// settings text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "branding/ExtractTagValue.h"
#include "branding/SettingsText.h"
#include "fuzz/FuzzCheck.h"
#include "news/LastNewsId.h"
#include "news/NewsClient.h"
#include "news/NewsId.h"
#include "news/NewsReply.h"
#include "news/NewsTitle.h"
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
        FUZZ_CHECK(NewsId::Parse(line.substr(0, line.find(kNewsFieldSeparator))).has_value());
    }

    const LatestNews latest = ParseLastCodeReply(reply);
    const std::string id = latest.id ? latest.id->text() : std::string();
    FUZZ_CHECK(latest.id || latest.title.empty());
    FUZZ_CHECK(latest.title.find(kNewsFieldSeparator) == std::string::npos);
    FUZZ_CHECK(id.size() + latest.title.size() <= reply.size());
    // What the list and the balloon show of a title: UTF-8 on one line.
    const std::string shown = NewsTitleText(latest.title);
    FUZZ_CHECK(IsValidUtf8(shown));
    FUZZ_CHECK(shown.find_first_of("\r\n\t") == std::string::npos);

    const std::string html = ParseDetailsReply(reply);
    FUZZ_CHECK(html.size() <= reply.size());
}

void CheckNewsId(const std::string& text) {
    // An id keeps its digits and reads back as its own number.
    if (const std::optional<NewsId> id = NewsId::Parse(text)) {
        FUZZ_CHECK(id->text() == text);
        FUZZ_CHECK(NewsId::Parse(std::to_string(id->value()))->value() == id->value());
    }
}

// Only a news id is stored; it reads back as itself, and the rest of the
// text survives.
void CheckLastNewsId(const std::string& plain, const std::string& idText) {
    (void)LastNewsIdFromText(plain);
    const std::optional<NewsId> id = NewsId::Parse(idText);
    if (!id) {
        return;
    }
    const std::string written = TextWithLastNewsId(plain, *id);
    FUZZ_CHECK(written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0);
    const std::optional<NewsId> stored = LastNewsIdFromText(written);
    FUZZ_CHECK(stored && stored->text() == idText);
    const std::string rebuilt = RebuildSettingsText(plain);
    if (FindNoCase(rebuilt, kLastNewsIdOpenTag) == std::string::npos) {
        FUZZ_CHECK(written == rebuilt + kLastNewsIdOpenTag + idText + kLastNewsIdCloseTag + "\r\n");
    }
    // Writing the same id again changes nothing.
    FUZZ_CHECK(TextWithLastNewsId(written, *id) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string rest = fuzz::Bytes(data, size);
    CheckReplies(rest);
    CheckNewsId(rest);
    const std::string id = fuzz::TakeUntilNul(rest);
    CheckLastNewsId(rest, id);
    (void)NewsScriptUrl(id, kLastNewsScript);
    return 0;
}
