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

struct HtmlShape {
    int tableDepth = 0;    // deepest nesting of <table> elements
    int elementDepth = 0;  // deepest nesting of elements of any kind
    // Bytes of text and elements, each weighted by 2 to the power of the
    // number of tables around it.
    std::uint64_t layoutWork = 0;
};

// How deeply the elements of `html` nest, read the way a forgiving HTML
// parser reads them: void elements and "<x/>" open nothing, an end tag closes
// up to its open element (a stray one is ignored), and the elements whose end
// tag may be left out (p, li, td, tr, ...) close their open siblings.
HtmlShape MeasureHtml(std::string_view html);

// Whether the page stays within the limits above.
bool IsHtmlSafeToLayOut(std::string_view html);

// The text of a page without its markup: tags dropped (script and style
// with their content), line breaks where blocks end, character references
// of the common kinds decoded to UTF-8.
std::string HtmlPlainText(std::string_view html);

}  // namespace zolt
