#include "util/HtmlShape.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "util/Text.h"

namespace zolt {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view name) {
    return OneOf(name,
                 {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img",
                  "input", "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// Elements whose content is text up to their own end tag.
bool IsRawText(std::string_view name) {
    return OneOf(name, {"script", "style", "textarea", "title", "xmp", "noembed", "noframes"});
}

// Whether opening `name` ends an open `top` whose end tag was left out.
bool ClosesOpen(std::string_view name, std::string_view top) {
    if (name == "p" || name == "li" || name == "option") {
        return top == name;
    }
    if (name == "dt" || name == "dd") {
        return OneOf(top, {"dt", "dd"});
    }
    if (name == "td" || name == "th") {
        return OneOf(top, {"td", "th"});
    }
    if (name == "tr") {
        return OneOf(top, {"td", "th", "tr"});
    }
    if (name == "thead" || name == "tbody" || name == "tfoot") {
        return OneOf(top, {"td", "th", "tr", "thead", "tbody", "tfoot"});
    }
    if (name == "optgroup") {
        return OneOf(top, {"option", "optgroup"});
    }
    return false;
}

bool IsBlock(std::string_view name) {
    return OneOf(name, {"address", "article", "aside",   "blockquote", "br", "dd", "div",
                        "dl",      "dt",      "footer",  "form",       "h1", "h2", "h3",
                        "h4",      "h5",      "h6",      "header",     "hr", "li", "ol",
                        "p",       "pre",     "section", "table",      "tr", "ul"});
}

// Where a run of characters without a break opportunity ends for the view:
// at a block boundary. Inline elements (b, a, span, img, ...) join their
// text to the run around them.
bool EndsRun(std::string_view name) {
    return IsBlock(name) ||
           OneOf(name, {"td", "th", "caption", "center", "tbody", "thead", "tfoot"});
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of the character reference at text[i] ('&'), as the view
// reads it: a name or number and ";"; 1 when there is none.
size_t ReferenceLength(std::string_view text, size_t i) {
    constexpr size_t kLongestReference = 32;
    size_t j = i + 1;
    while (j < text.size() && j - i <= kLongestReference &&
           (IsLetter(text[j]) || (text[j] >= '0' && text[j] <= '9') || text[j] == '#')) {
        ++j;
    }
    return j > i + 1 && j < text.size() && text[j] == ';' ? j - i + 1 : 1;
}

// Whether `character` is a zero-width break, itself or as a reference.
bool IsZeroWidthBreak(std::string_view character, bool utf8) {
    if (utf8 && character == "\xE2\x80\x8B") {
        return true;
    }
    if (character.size() < 4 || character[0] != '&' || character[1] != '#') {
        return false;
    }
    const std::string number = AsciiLower(std::string(character.substr(2)));
    return number == "8203;" || number == "x200b;";
}

// Walks text character by character and counts the current run: blanks end
// it, `utf8` says whether continuation bytes are parts of characters and
// `html` whether "&...;" is one. `onChar(offset, length)` sees every
// character of a run, before it counts.
template <typename OnChar>
void WalkRuns(std::string_view text, bool utf8, bool html, size_t& run, OnChar onChar) {
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (IsSpace(c)) {
            run = 0;
            ++i;
            continue;
        }
        size_t length = html && c == '&' ? ReferenceLength(text, i) : 1;
        while (utf8 && i + length < text.size() && IsUtf8Continuation(text[i + length])) {
            ++length;
        }
        if (IsZeroWidthBreak(text.substr(i, length), utf8)) {
            run = 0;
            i += length;
            continue;
        }
        onChar(i, length);
        ++run;
        i += length;
    }
}

// What the scanner found, in document order.
struct HtmlEvents {
    std::function<void(std::string_view text)> text;
    std::function<void(const std::string& name, bool selfClosing)> start;
    std::function<void(const std::string& name)> end;
};

std::string ReadName(std::string_view html, size_t& i) {
    std::string name;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') {
        name += AsciiLower(html[i]);
        ++i;
    }
    return name;
}

// Skips the attributes of a start tag; true when it ends in "/>". `i` is left
// after the closing ">".
bool SkipAttributes(std::string_view html, size_t& i) {
    bool slash = false;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '>') {
            ++i;
            return slash;
        }
        if (c == '/' || IsSpace(c)) {
            slash = c == '/' || (slash && IsSpace(c));
            ++i;
            continue;
        }
        slash = false;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/' &&
               html[i] != '=') {
            ++i;
        }
        size_t j = i;
        while (j < html.size() && IsSpace(html[j])) {
            ++j;
        }
        if (j >= html.size() || html[j] != '=') {
            continue;
        }
        i = j + 1;
        while (i < html.size() && IsSpace(html[i])) {
            ++i;
        }
        if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
            const size_t close = html.find(html[i], i + 1);
            i = close == std::string_view::npos ? html.size() : close + 1;
        } else {
            while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') {
                ++i;
            }
        }
    }
    return false;
}

void Scan(std::string_view html, const HtmlEvents& on) {
    size_t i = 0;
    size_t textStart = 0;
    auto flushText = [&](size_t stop) {
        if (stop > textStart) {
            on.text(html.substr(textStart, stop - textStart));
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
            const bool selfClosing = SkipAttributes(html, i);
            on.start(name, selfClosing);
            if (IsRawText(name) && !selfClosing) {
                const size_t close = FindNoCase(html, "</" + name, i);
                const size_t stop = close == std::string_view::npos ? html.size() : close;
                if (name != "script" && name != "style") {
                    on.text(html.substr(i, stop - i));
                }
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

// The open elements, with a count per name, so that a stray end tag costs
// nothing and every element is pushed and popped once.
class OpenElements {
  public:
    int depth() const { return static_cast<int>(stack_.size()); }
    int tables() const { return open("table"); }

    void push(const std::string& name) {
        while (!stack_.empty() && ClosesOpen(name, stack_.back())) {
            pop();
        }
        stack_.push_back(name);
        ++counts_[name];
    }
    void close(const std::string& name) {
        if (open(name) == 0) {
            return;
        }
        while (stack_.back() != name) {
            pop();
        }
        pop();
    }

  private:
    int open(const std::string& name) const {
        const auto it = counts_.find(name);
        return it == counts_.end() ? 0 : it->second;
    }
    void pop() {
        --counts_[stack_.back()];
        stack_.pop_back();
    }

    std::vector<std::string> stack_;
    std::unordered_map<std::string, int> counts_;
};

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
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

// Decodes the reference at text[i] ('&') into `out`; the length it took, 0
// when it is not one that is known.
size_t DecodeReference(std::string_view text, size_t i, std::string& out) {
    // Only as far as the longest reference reaches: a search to the end for
    // every "&" made a page of ampersands take quadratic time.
    constexpr size_t kLongestReference = 12;
    const size_t length = text.substr(i, kLongestReference + 1).find(';');
    if (length == std::string_view::npos) {
        return 0;
    }
    const std::string_view body = text.substr(i + 1, length - 1);
    static const std::array<std::pair<std::string_view, std::uint32_t>, 6> kNamed = {
        {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}}};
    for (const auto& [name, code] : kNamed) {
        if (body == name) {
            AppendUtf8(out, code);
            return length + 1;
        }
    }
    if (body.size() < 2 || body[0] != '#') {
        return 0;
    }
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return 0;
    }
    std::uint32_t code = 0;
    for (const char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (hex && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f') {
            d = AsciiLower(c) - 'a' + 10;
        }
        if (d < 0) {
            return 0;
        }
        code = std::min<std::uint32_t>(code * (hex ? 16 : 10) + d, 0x110000);
    }
    AppendUtf8(out, code);
    return length + 1;
}

}  // namespace

HtmlShape MeasureHtml(std::string_view html) {
    // What an element costs the layout beyond its text, in bytes of text.
    constexpr std::uint64_t kElementWork = 16;
    // How many characters into a run each further character costs the work
    // of one more.
    constexpr size_t kRunCharsPerWork = 100;
    HtmlShape shape;
    OpenElements open;
    auto addWork = [&](std::uint64_t bytes) {
        const int tables = std::min(open.tables(), 40);
        shape.layoutWork = std::min(shape.layoutWork + (bytes << tables), std::uint64_t{1} << 62);
    };
    const bool utf8 = IsValidUtf8(std::string(html));
    size_t run = 0;
    HtmlEvents on;
    on.text = [&](std::string_view text) {
        // A character deep in a run costs the layout more than one in a
        // word: it is tried in every piece of the run that does not fit.
        // The view breaks runs every kMaxHtmlRunChars characters.
        std::uint64_t runWork = 0;
        WalkRuns(text, utf8, true, run, [&](size_t, size_t) {
            runWork += run % kMaxHtmlRunChars / kRunCharsPerWork;
            shape.longestRun = std::max(shape.longestRun, run + 1);
        });
        addWork(text.size() + runWork);
    };
    on.start = [&](const std::string& name, bool selfClosing) {
        if (EndsRun(name)) {
            run = 0;
        }
        addWork(kElementWork);
        if (selfClosing || IsVoid(name)) {
            shape.elementDepth = std::max(shape.elementDepth, open.depth() + 1);
            return;
        }
        open.push(name);
        shape.elementDepth = std::max(shape.elementDepth, open.depth());
        shape.tableDepth = std::max(shape.tableDepth, open.tables());
    };
    on.end = [&](const std::string& name) {
        if (EndsRun(name)) {
            run = 0;
        }
        open.close(name);
    };
    Scan(html, on);
    return shape;
}

bool IsHtmlSafeToLayOut(std::string_view html) {
    if (html.size() > kMaxHtmlPageBytes) {
        return false;
    }
    const HtmlShape shape = MeasureHtml(html);
    return shape.tableDepth <= kMaxHtmlTableDepth && shape.elementDepth <= kMaxHtmlElementDepth &&
           shape.layoutWork <= kMaxHtmlLayoutWork;
}

std::string HtmlPlainText(std::string_view html) {
    // Windows-1252 pages become UTF-8 first, so that decoded references and
    // the rest of the text share one encoding.
    const std::string utf8 = FromQString(ToQString(std::string(html)));
    std::string out;
    bool pendingSpace = false;
    auto breakLine = [&] {
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        pendingSpace = false;
    };
    HtmlEvents on;
    on.text = [&](std::string_view text) {
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
            const size_t taken = c == '&' ? DecodeReference(text, i, out) : 0;
            if (taken > 0) {
                i += taken - 1;
            } else {
                out += c;
            }
        }
    };
    on.start = [&](const std::string& name, bool) {
        if (IsBlock(name)) {
            breakLine();
        }
    };
    on.end = [&](const std::string& name) {
        if (IsBlock(name)) {
            breakLine();
        }
    };
    Scan(utf8, on);
    while (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

std::string BreakLongHtmlRuns(std::string_view html) {
    static constexpr std::string_view kBreak = "&#8203;";
    const bool utf8 = IsValidUtf8(std::string(html));
    std::string out;
    out.reserve(html.size() + html.size() / kMaxHtmlRunChars * kBreak.size());
    size_t copied = 0;
    size_t run = 0;
    const auto onText = [&](std::string_view text) {
        const auto offset = static_cast<size_t>(text.data() - html.data());
        WalkRuns(text, utf8, true, run, [&](size_t at, size_t) {
            if (run == kMaxHtmlRunChars) {
                out.append(html.substr(copied, offset + at - copied));
                out += kBreak;
                copied = offset + at;
                run = 0;
            }
        });
    };
    HtmlEvents on;
    // Script and style are left alone: the view shows neither, and a break in
    // them would not break the text around them.
    on.text = onText;
    on.start = [&](const std::string& name, bool) {
        if (EndsRun(name)) {
            run = 0;
        }
    };
    on.end = [&](const std::string& name) {
        if (EndsRun(name)) {
            run = 0;
        }
    };
    Scan(html, on);
    out.append(html.substr(copied));
    return out;
}

std::string BreakLongTextRuns(std::string_view text) {
    static constexpr std::string_view kBreak = "\xE2\x80\x8B";
    std::string out;
    out.reserve(text.size() + text.size() / kMaxHtmlRunChars * kBreak.size());
    size_t copied = 0;
    size_t run = 0;
    WalkRuns(text, true, false, run, [&](size_t at, size_t) {
        if (run == kMaxHtmlRunChars) {
            out.append(text.substr(copied, at - copied));
            out += kBreak;
            copied = at;
            run = 0;
        }
    });
    out.append(text.substr(copied));
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
