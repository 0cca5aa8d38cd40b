#include "util/HtmlScan.h"

#include <algorithm>
#include <array>

#include "util/HtmlEntities.h"
#include "util/Text.h"

namespace zolt {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string ReadName(std::string_view html, size_t& i) {
    std::string name;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') {
        name += AsciiLower(html[i]);
        ++i;
    }
    return name;
}

// Reads the attributes of a start tag up to its closing ">"; false when the
// page ends first. `i` is left after the ">".
bool ReadAttributes(std::string_view html, size_t& i, std::vector<HtmlAttribute>& attributes,
                    bool& selfClosing) {
    selfClosing = false;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '>') {
            ++i;
            return true;
        }
        if (c == '/' || IsSpace(c)) {
            selfClosing = c == '/' || (selfClosing && IsSpace(c));
            ++i;
            continue;
        }
        selfClosing = false;
        HtmlAttribute attribute;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/' &&
               html[i] != '=') {
            attribute.name += AsciiLower(html[i]);
            ++i;
        }
        size_t j = i;
        while (j < html.size() && IsSpace(html[j])) {
            ++j;
        }
        if (j < html.size() && html[j] == '=') {
            attribute.hasValue = true;
            i = j + 1;
            while (i < html.size() && IsSpace(html[i])) {
                ++i;
            }
            const size_t start = i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const size_t close = html.find(html[i], i + 1);
                if (close == std::string_view::npos) {
                    i = html.size();
                    return false;
                }
                attribute.value = html.substr(start + 1, close - start - 1);
                i = close + 1;
            } else {
                while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') {
                    ++i;
                }
                attribute.value = html.substr(start, i - start);
            }
        }
        attributes.push_back(std::move(attribute));
    }
    return false;
}

}  // namespace

bool IsHtmlRawTextElement(std::string_view name) {
    static constexpr std::array<std::string_view, 7> kRaw = {
        "script", "style", "textarea", "title", "xmp", "noembed", "noframes"};
    return std::find(kRaw.begin(), kRaw.end(), name) != kRaw.end();
}

void ScanHtml(std::string_view html, const HtmlScanEvents& on) {
    size_t i = 0;
    size_t textStart = 0;
    auto flushText = [&](size_t stop) {
        if (stop > textStart) {
            on.text(html.substr(textStart, stop - textStart), {});
        }
    };
    while (i < html.size()) {
        if (html[i] != '<' || i + 1 >= html.size()) {
            ++i;
            continue;
        }
        const char next = html[i + 1];
        const size_t tagStart = i;
        if (html.compare(i, 4, "<!--") == 0) {
            flushText(tagStart);
            const size_t close = html.find("-->", i + 4);
            i = close == std::string_view::npos ? html.size() : close + 3;
        } else if (next == '!' || next == '?') {
            flushText(tagStart);
            const size_t close = html.find('>', i);
            i = close == std::string_view::npos ? html.size() : close + 1;
        } else if (next == '/' && i + 2 < html.size() && IsLetter(html[i + 2])) {
            flushText(tagStart);
            i += 2;
            const std::string name = ReadName(html, i);
            const size_t close = html.find('>', i);
            i = close == std::string_view::npos ? html.size() : close + 1;
            on.end(name);
        } else if (IsLetter(next)) {
            flushText(tagStart);
            ++i;
            const std::string name = ReadName(html, i);
            std::vector<HtmlAttribute> attributes;
            bool selfClosing = false;
            if (!ReadAttributes(html, i, attributes, selfClosing)) {
                // A tag the page ends in is no tag.
                textStart = i;
                break;
            }
            on.start(name, attributes, selfClosing);
            if (IsHtmlRawTextElement(name) && !selfClosing) {
                const size_t close = FindNoCase(html, "</" + name, i);
                const size_t stop = close == std::string_view::npos ? html.size() : close;
                on.text(html.substr(i, stop - i), name);
                i = stop;
            }
        } else {
            ++i;
            continue;
        }
        textStart = i;
    }
    flushText(html.size());
}

std::size_t DecodeHtmlReference(std::string_view text, std::size_t i, char32_t& code) {
    size_t j = i + 1;
    if (j < text.size() && text[j] == '#') {
        const bool hex = j + 1 < text.size() && (text[j + 1] == 'x' || text[j + 1] == 'X');
        j += hex ? 2 : 1;
        const size_t digitsStart = j;
        std::uint32_t value = 0;
        for (; j < text.size(); ++j) {
            const char c = AsciiLower(text[j]);
            int d = -1;
            if (IsDigit(c)) {
                d = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                d = c - 'a' + 10;
            }
            if (d < 0) {
                break;
            }
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + d, 0x110000);
        }
        if (j == digitsStart || j >= text.size() || text[j] != ';') {
            return 0;
        }
        if (value >= 0x80 && value <= 0x9F) {
            value = FromWindows1252(std::string(1, static_cast<char>(value))).at(0).unicode();
        }
        code =
            value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF) ? 0xFFFD : value;
        return j + 1 - i;
    }
    while (j < text.size() && j - i <= kLongestHtmlEntityName &&
           (IsLetter(text[j]) || IsDigit(text[j]))) {
        ++j;
    }
    if (j >= text.size() || text[j] != ';') {
        return 0;
    }
    code = HtmlEntityCode(text.substr(i + 1, j - i - 1));
    return code == 0 ? 0 : j + 1 - i;
}

char32_t NextUtf8(std::string_view text, std::size_t& i) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    length = std::min(length, text.size() - i);
    char32_t code = length == 1 ? c : c & (0xFF >> (length + 1));
    for (size_t k = 1; k < length; ++k) {
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    i += length;
    return code;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string HtmlAsUtf8(std::string_view html) {
    std::string bytes(html);
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    return FromQString(FromWindows1252(bytes));
}

}  // namespace zolt
