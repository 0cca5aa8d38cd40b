#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zolt {

// The one reading of a page's markup that the shape check, the page handed
// to the view and the plain text share. It reads as a forgiving HTML parser
// does: a tag ends at the first ">" outside a quoted attribute value, what
// script, style and the other raw-text elements hold is text up to their own
// end tag, and comments, declarations and processing instructions are dropped.
struct HtmlAttribute {
    std::string name;   // ASCII letters lower-cased
    std::string value;  // as written, references not decoded
    bool hasValue = false;
};

struct HtmlScanEvents {
    // Text as written, references not decoded; `rawIn` names the raw-text
    // element that holds it ("" for ordinary text). A raw-text element's
    // text comes right after its start tag, empty or not.
    std::function<void(std::string_view text, const std::string& rawIn)> text;
    std::function<void(const std::string& name, std::vector<HtmlAttribute>& attributes,
                       bool selfClosing)>
        start;
    std::function<void(const std::string& name)> end;
};

void ScanHtml(std::string_view html, const HtmlScanEvents& on);

// Elements whose content is text up to their own end tag.
bool IsHtmlRawTextElement(std::string_view name);

// Decodes the character reference at text[i] ("&"): "&name;" of HTML 4 or
// "&#digits;" / "&#xhex;" of any length. Returns how many bytes it took (0
// when there is none: the "&" is a character) and sets `code`. Numbers that
// name no character become U+FFFD; 0x80 to 0x9F are read as Windows-1252, as
// browsers do.
std::size_t DecodeHtmlReference(std::string_view text, std::size_t i, char32_t& code);

// The code point at text[i] of valid UTF-8, and its length in bytes.
char32_t NextUtf8(std::string_view text, std::size_t& i);
void AppendUtf8(std::string& out, char32_t code);

// The page as UTF-8: valid UTF-8 as it is, anything else read as
// Windows-1252, as the view reads it.
std::string HtmlAsUtf8(std::string_view html);

}  // namespace zolt
