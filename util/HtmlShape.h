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

struct HtmlShape {
    int tableDepth = 0;    // deepest nesting of <table> elements
    int elementDepth = 0;  // deepest nesting of elements of any kind
    // Bytes of text and elements, each weighted by 2 to the power of the
    // number of tables around it.
    std::uint64_t layoutWork = 0;
    // Characters of text without a blank in the longest run.
    std::size_t longestRun = 0;
};

// How deeply the elements of `html` nest, read the way a forgiving HTML
// parser reads them: void elements and "<x/>" open nothing, an end tag closes
// up to its open element (a stray one is ignored), and the elements whose end
// tag may be left out (p, li, td, tr, ...) close their open siblings.
HtmlShape MeasureHtml(std::string_view html);

// Whether the page stays within the limits above. Characters of long runs
// count more layout work than those of words, up to the run cap.
bool IsHtmlSafeToLayOut(std::string_view html);

// The text of a page without its markup: tags dropped (script and style
// with their content), line breaks where blocks end, character references
// of the common kinds decoded to UTF-8.
std::string HtmlPlainText(std::string_view html);

// `html` (UTF-8 or Windows-1252) with the reference of a zero-width break,
// "&#8203;", inserted in its text wherever a run of characters without a
// blank or a block boundary reaches kMaxHtmlRunChars. Markup is left as it
// is, a character reference counts as one character and is never cut.
std::string BreakLongHtmlRuns(std::string_view html);

// The same for plain UTF-8 text, with the zero-width break itself (U+200B).
std::string BreakLongTextRuns(std::string_view text);

// What the view shows of a page it does not lay out as HTML: its plain text,
// cut after kMaxHtmlPageBytes with "…", long runs broken.
std::string HtmlPlainTextForView(std::string_view html);

}  // namespace zolt
