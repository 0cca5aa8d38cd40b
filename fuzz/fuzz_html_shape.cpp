// The page shape check, the plain text of a page and the breaking of long
// runs: the whole input is a page (UTF-8 or Windows-1252 bytes).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "util/HtmlShape.h"
#include "util/Text.h"

using namespace zolt;

namespace {

constexpr std::string_view kZeroWidthBreak = "\xE2\x80\x8B";

// The longest run of UTF-8 characters without an ASCII blank or a
// zero-width break, counted independently of the code under test.
size_t LongestTextRun(std::string_view text) {
    size_t longest = 0;
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' ||
            text.substr(i, kZeroWidthBreak.size()) == kZeroWidthBreak) {
            run = 0;
            continue;
        }
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            longest = std::max(longest, ++run);
        }
    }
    return longest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string html = fuzz::Bytes(data, size);
    const HtmlShape shape = MeasureHtml(html);
    FUZZ_CHECK(shape.tableDepth <= shape.elementDepth);
    FUZZ_CHECK(IsHtmlSafeToLayOut(html) ==
               (html.size() <= kMaxHtmlPageBytes && shape.tableDepth <= kMaxHtmlTableDepth &&
                shape.elementDepth <= kMaxHtmlElementDepth &&
                shape.layoutWork <= kMaxHtmlLayoutWork));

    // What the HTML path hands the view is held by fuzz_html_layout.
    FUZZ_CHECK(shape.longestRun <= kMaxHtmlRunChars);

    // What the plain-text path hands the view.
    const std::string text = HtmlPlainText(html);
    FUZZ_CHECK(IsValidUtf8(text));
    const std::string brokenText = BreakLongTextRuns(text);
    FUZZ_CHECK(IsValidUtf8(brokenText));
    FUZZ_CHECK(LongestTextRun(brokenText) <= kMaxHtmlRunChars);
    FUZZ_CHECK(BreakLongTextRuns(brokenText) == brokenText);
    const std::string shown = HtmlPlainTextForView(html);
    FUZZ_CHECK(IsValidUtf8(shown) && LongestTextRun(shown) <= kMaxHtmlRunChars);
    FUZZ_CHECK(shown.size() <= kMaxHtmlPageBytes + 3 + kMaxHtmlPageBytes / kMaxHtmlRunChars * 3);
    return 0;
}
