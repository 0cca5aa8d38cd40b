// The plain text of a page, for the view when the page is beyond the limits
// of its layout, and the breaking of long runs in plain text.

#include <algorithm>
#include <initializer_list>

#include "util/HtmlScan.h"
#include "util/HtmlShape.h"

namespace zolt {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool EndsLine(std::string_view name) {
    static const std::initializer_list<std::string_view> kBlocks = {
        "address", "article", "aside", "blockquote", "br",  "dd",      "div",   "dl", "dt",
        "footer",  "form",    "h1",    "h2",         "h3",  "h4",      "h5",    "h6", "header",
        "hr",      "li",      "ol",    "p",          "pre", "section", "table", "tr", "ul"};
    return std::find(kBlocks.begin(), kBlocks.end(), name) != kBlocks.end();
}

}  // namespace

std::string HtmlPlainText(std::string_view html) {
    // Windows-1252 pages become UTF-8 first, so that decoded references and
    // the rest of the text share one encoding.
    const std::string utf8 = HtmlAsUtf8(html);
    std::string out;
    bool pendingSpace = false;
    auto breakLine = [&] {
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        pendingSpace = false;
    };
    HtmlScanEvents on;
    on.text = [&](std::string_view text, const std::string& rawIn) {
        if (rawIn == "script" || rawIn == "style") {
            return;
        }
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (IsSpace(c)) {
                pendingSpace = !out.empty() && out.back() != '\n';
                continue;
            }
            if (pendingSpace) {
                out += ' ';
                pendingSpace = false;
            }
            char32_t code = 0;
            const size_t taken = c == '&' ? DecodeHtmlReference(text, i, code) : 0;
            if (taken > 0) {
                AppendUtf8(out, code);
                i += taken - 1;
            } else {
                out += c;
            }
        }
    };
    on.start = [&](const std::string& name, std::vector<HtmlAttribute>&, bool) {
        if (EndsLine(name)) {
            breakLine();
        }
    };
    on.end = [&](const std::string& name) {
        if (EndsLine(name)) {
            breakLine();
        }
    };
    ScanHtml(utf8, on);
    while (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

std::string BreakLongTextRuns(std::string_view text) {
    static constexpr std::string_view kBreak = "\xE2\x80\x8B";
    std::string out;
    out.reserve(text.size() + text.size() / kMaxHtmlRunChars * kBreak.size());
    size_t run = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = 1;
        while (i + length < text.size() && IsUtf8Continuation(text[i + length])) {
            ++length;
        }
        const std::string_view character = text.substr(i, length);
        i += length;
        if (IsSpace(character[0]) || character == kBreak) {
            run = 0;
        } else if (++run > kMaxHtmlRunChars) {
            out += kBreak;
            run = 1;
        }
        out += character;
    }
    return out;
}

std::string HtmlPlainTextForView(std::string_view html) {
    std::string text = HtmlPlainText(html);
    if (text.size() > kMaxHtmlPageBytes) {
        // Laying out text costs time too; more than a page of the largest
        // size is not read by anyone.
        size_t cut = kMaxHtmlPageBytes;
        while (cut > 0 && IsUtf8Continuation(text[cut])) {
            --cut;
        }
        text.resize(cut);
        text += "\xE2\x80\xA6";
    }
    return BreakLongTextRuns(text);
}

}  // namespace zolt
