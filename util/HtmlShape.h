#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zolt {

// Pages from a news server or a settings file are laid out on the GUI
// thread, where what stands inside a table is laid out about twice for every
// table around it. Beyond these limits a page is shown as its plain text
// instead.
inline constexpr std::size_t kMaxHtmlPageBytes = 2 * 1024 * 1024;
inline constexpr int kMaxHtmlTableDepth = 8;
inline constexpr int kMaxHtmlElementDepth = 100;
// The layout work of a plain page of the largest size: many tables nested
// within the depth limit would otherwise still take a minute.
inline constexpr std::uint64_t kMaxHtmlLayoutWork = kMaxHtmlPageBytes;

// The layout breaks a line inside a run of characters without a break
// opportunity by trying ever shorter pieces of it, which takes time that
// grows with the square of the run: a word of a few hundred KB held the GUI
// thread for minutes. Pages reach the view with a zero-width break after
// every kMaxHtmlRunChars characters of such a run.
inline constexpr std::size_t kMaxHtmlRunChars = 200;
// Combining marks pile onto one character, and the layout shapes such a
// pile as a whole: a run of them longer than this (the stream-safe limit of
// Unicode normalization) loses the rest.
inline constexpr int kMaxHtmlCombiningMarks = 30;

struct HtmlShape {
    int tableDepth = 0;    // deepest nesting of <table> elements
    int elementDepth = 0;  // deepest nesting of elements of any kind
    // Characters of text and elements, each weighted by 2 to the power of the
    // number of tables around it.
    std::uint64_t layoutWork = 0;
    // Characters without a break opportunity in the longest run the view
    // gets, its zero-width breaks counted in.
    std::size_t longestRun = 0;

    bool operator==(const HtmlShape&) const = default;
};

// A page (UTF-8 or Windows-1252) written anew from what was read of it, and
// its shape. The view is given only this page: every element it keeps is
// written with its end tag where the view's reader will look for one, in
// nesting that reader takes as it is (a cell in a row in a table, no
// paragraph in a paragraph), every attribute quoted and escaped, text
// escaped and UTF-8, long runs broken. What the view could read otherwise
// is dropped: scripts, titles, head, meta and link elements, comments,
// attributes and elements of names no view knows, tags the page ends in.
// Empty when the page is beyond the limits above.
struct HtmlPage {
    HtmlShape shape;
    std::string html;
};
HtmlPage RewriteHtml(std::string_view html);

// The shape of the page RewriteHtml writes.
HtmlShape MeasureHtml(std::string_view html);

// Whether a page of `bytes` of this shape stays within the limits above.
bool IsHtmlWithinLimits(const HtmlShape& shape, std::size_t bytes);
bool IsHtmlSafeToLayOut(std::string_view html);

// The text of a page without its markup: tags dropped (script and style
// with their content), line breaks where blocks end, character references
// decoded to UTF-8.
std::string HtmlPlainText(std::string_view html);

// Plain UTF-8 text with the zero-width break (U+200B) inserted wherever a run
// of characters without a blank reaches kMaxHtmlRunChars.
std::string BreakLongTextRuns(std::string_view text);

// What the view shows of a page it does not lay out as HTML: its plain text,
// cut after kMaxHtmlPageBytes with "…", long runs broken.
std::string HtmlPlainTextForView(std::string_view html);

}  // namespace zolt
