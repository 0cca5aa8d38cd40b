#include "util/HtmlShape.h"

#include <QChar>

#include <algorithm>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "util/HtmlScan.h"

namespace zolt {

namespace {

// What an element costs the layout beyond its text, in characters of text.
constexpr std::uint64_t kElementWork = 16;
// How many characters into a run each further character costs the work of
// one more: a character deep in a run is tried in every piece of it that
// does not fit.
constexpr std::size_t kRunCharsPerWork = 100;
constexpr char32_t kZeroWidthBreak = 0x200B;
constexpr std::size_t kMaxRewrittenBytes = 16 * kMaxHtmlPageBytes;

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view name) {
    return OneOf(name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr",
                        "img", "input", "keygen", "param", "source", "track", "wbr"});
}

// The void elements that the view's reader also knows to be empty: the
// others get an end tag, or it would put what follows inside them.
bool IsEmptyInTheView(std::string_view name) {
    return OneOf(name, {"br", "hr", "img"});
}

// Dropped with what they hold: the view runs no script and shows no title.
bool IsDroppedWithContent(std::string_view name) {
    return OneOf(name, {"script", "title"});
}

// Dropped tags: their content stays. A head would hide its text, a meta
// element can switch the view's reader to another way of reading
// whitespace, a link can ask for a style sheet; the other raw-text
// elements are unknown to the view, which shows their text.
bool IsDroppedTag(std::string_view name) {
    return OneOf(name, {"head", "meta", "link", "textarea", "xmp", "noembed", "noframes"});
}

// Names the view reads back as written: a letter, then letters, digits and
// "-_.:". Anything else could end the name or the tag early there.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name[0] < 'a' || name[0] > 'z') {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.' || c == ':';
    });
}

// The elements that the view lays out as blocks of their own.
bool IsViewBlock(std::string_view name) {
    return OneOf(name, {"blockquote", "body", "caption", "center", "dd", "div", "dl", "dt",
                        "h1",         "h2",   "h3",      "h4",     "h5", "h6",  "hr", "li",
                        "ol",         "p",    "pre",     "qt",     "td", "th",  "ul"});
}

// Where a run of characters without a break opportunity ends in the view:
// where a block or a line break begins. Inline elements (b, a, span,
// section, ...) join their text to the run around it, and so do the parts of
// a table outside its cells (a table without cells is no table there) and
// the end of a block (text after "</div>" may join the div's last line).
bool EndsRun(std::string_view name) {
    return IsViewBlock(name) || name == "br";
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

// What may stand in a table outside its cells.
bool IsTablePart(std::string_view name) {
    return OneOf(name, {"tbody", "thead", "tfoot", "tr", "td", "th", "caption"});
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Characters that join the one before them into one piece for the layout:
// combining marks, joiners, tags and skin tones, Hangul jamo.
bool IsJoining(char32_t c) {
    if (c < 0x300) {
        return false;
    }
    switch (QChar::category(c)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            return true;
        default:
            break;
    }
    return c == 0x200C || c == 0x200D || (c >= 0xE0020 && c <= 0xE007F) ||
           (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0x1100 && c <= 0x11FF) ||
           (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

// How the view reads whitespace in an element, given as a style attribute
// of its own after the element's other attributes. A style sheet, a style
// attribute or <nobr> that made spaces unbreakable (white-space: nowrap)
// would otherwise join words into runs of any length. The view's reader
// applies every style attribute of an element in turn, each whole or not at
// all, so this one holds whatever the page's own says or fails to say.
std::string_view WhiteSpaceStyle(bool pre) {
    return pre ? "white-space:pre" : "white-space:normal";
}

class PageWriter {
  public:
    explicit PageWriter(bool writing) : writing_(writing) {}

    void text(std::string_view text, const std::string& rawIn) {
        if (IsDroppedWithContent(rawIn)) {
            return;
        }
        if (rawIn == "style") {
            // The sheet ends where the page's reading of it ended, whatever
            // end tag follows.
            if (!stack_.empty() && stack_.back().name == "style") {
                hiddenText(text);
                pop();
            }
            return;
        }
        const bool decode = rawIn.empty();
        for (size_t i = 0; i < text.size();) {
            char32_t code = 0;
            const size_t reference =
                decode && text[i] == '&' ? DecodeHtmlReference(text, i, code) : 0;
            if (reference > 0) {
                i += reference;
            } else {
                code = NextUtf8(text, i);
            }
            character(code);
        }
    }

    void start(const std::string& name, std::vector<HtmlAttribute>& attributes, bool selfClosing) {
        if (!IsPlainName(name) || IsDroppedTag(name) || IsDroppedWithContent(name)) {
            return;
        }
        while (!stack_.empty() && ClosesOpen(name, stack_.back().name)) {
            pop();
        }
        if (!placeInTheViewsNesting(name)) {
            return;
        }
        if (outsideCells() && !IsTablePart(name)) {
            // The view drops some of what stands in a table outside its
            // cells and moves the rest: none of it reaches the view.
            return;
        }
        if (IsVoid(name)) {
            if (name == "img") {
                // An image stands in a run as one character does.
                runCharacter();
                marks_ = 0;
                afterTable_ = false;
            }
            if (EndsRun(name)) {
                endRun();
            }
            addElementWork();
            shape_.elementDepth = std::max(shape_.elementDepth, depth() + 1);
            writeStartTag(name, attributes);
            if (!IsEmptyInTheView(name)) {
                write("</" + name + ">");
            }
            return;
        }
        push(name, attributes);
        if (selfClosing) {
            pop();
        }
    }

    void end(const std::string& name) {
        if (open(name) == 0) {
            return;
        }
        while (stack_.back().name != name) {
            pop();
        }
        pop();
    }

    HtmlPage finish() {
        while (!stack_.empty()) {
            pop();
        }
        return {shape_, writing_ ? std::move(out_) : std::string()};
    }

  private:
    struct Open {
        std::string name;
        int block;  // the nearest element laid out as a block, at or above
        bool pre;
        bool outsideCells;  // in a table, not in one of its cells or its caption
    };

    bool outsideCells() const { return !stack_.empty() && stack_.back().outsideCells; }

    int depth() const { return static_cast<int>(stack_.size()); }
    int open(const std::string& name) const {
        const auto it = counts_.find(name);
        return it == counts_.end() ? 0 : it->second;
    }

    // Closes or opens elements so that `name` stands where the view's reader
    // would put it itself: a cell in a row, a row in a table or one of its
    // parts, a part or a caption in a table, a term in a list of terms, and
    // a paragraph in no paragraph. False when `name` is dropped.
    bool placeInTheViewsNesting(const std::string& name) {
        if (name == "td" || name == "th") {
            if (open("tr") > 0) {
                popUntilTop({"tr"});
                return true;
            }
            if (open("table") > 0) {
                popUntilTop({"table", "thead", "tbody", "tfoot"});
            } else {
                push("table", {});
            }
            push("tr", {});
        } else if (name == "tr") {
            if (open("table") > 0) {
                popUntilTop({"table", "thead", "tbody", "tfoot"});
            } else {
                push("table", {});
            }
        } else if (OneOf(name, {"thead", "tbody", "tfoot", "caption"})) {
            if (open("table") == 0) {
                return false;
            }
            popUntilTop({"table"});
        } else if (name == "dd" || name == "dt") {
            if (open("dl") == 0) {
                return false;
            }
            popUntilTop({"dl"});
        } else if (name == "p" && !stack_.empty()) {
            const int block = stack_.back().block;
            if (block >= 0 && stack_[static_cast<size_t>(block)].name == "p") {
                while (depth() > block) {
                    pop();
                }
            }
        }
        return true;
    }

    void popUntilTop(std::initializer_list<std::string_view> names) {
        while (!stack_.empty() && !OneOf(stack_.back().name, names)) {
            pop();
        }
    }

    void push(const std::string& name, std::vector<HtmlAttribute> attributes) {
        if (EndsRun(name)) {
            endRun();
        }
        addElementWork();
        const bool pre = name == "pre" || (!stack_.empty() && stack_.back().pre);
        const int block = IsViewBlock(name) ? depth() : stack_.empty() ? -1 : stack_.back().block;
        const bool outside = OneOf(name, {"table", "tbody", "thead", "tfoot", "tr"}) ||
                             (!OneOf(name, {"td", "th", "caption"}) && outsideCells());
        stack_.push_back({name, block, pre, outside});
        ++counts_[name];
        tables_ += name == "table" ? 1 : 0;
        afterTable_ = afterTable_ || name == "table";
        shape_.elementDepth = std::max(shape_.elementDepth, depth());
        shape_.tableDepth = std::max(shape_.tableDepth, tables_);
        writeStartTag(name, attributes);
        checkLimits();
    }

    void pop() {
        const std::string name = std::move(stack_.back().name);
        --counts_[name];
        tables_ -= name == "table" ? 1 : 0;
        afterTable_ = afterTable_ || name == "table";
        stack_.pop_back();
        write("</" + name + ">");
    }

    void writeStartTag(const std::string& name, std::vector<HtmlAttribute>& attributes) {
        if (!writing_) {
            return;
        }
        out_ += '<';
        out_ += name;
        std::unordered_set<std::string_view> seen(attributes.size());
        for (const HtmlAttribute& attribute : attributes) {
            if (!IsPlainName(attribute.name) || !seen.insert(attribute.name).second ||
                (attribute.name == "style" && (attribute.value == WhiteSpaceStyle(false) ||
                                               attribute.value == WhiteSpaceStyle(true)))) {
                continue;
            }
            out_ += ' ';
            out_ += attribute.name;
            if (attribute.hasValue) {
                out_ += "=\"";
                writeAttributeValue(attribute.value);
                out_ += '"';
            }
        }
        if (!IsEmptyInTheView(name)) {
            out_ += " style=\"";
            out_ += WhiteSpaceStyle(!stack_.empty() && stack_.back().pre);
            out_ += '"';
        }
        out_ += '>';
    }

    void writeAttributeValue(std::string_view value) {
        for (size_t i = 0; i < value.size();) {
            char32_t code = 0;
            const size_t reference = value[i] == '&' ? DecodeHtmlReference(value, i, code) : 0;
            if (reference > 0) {
                i += reference;
            } else {
                code = NextUtf8(value, i);
            }
            writeEscaped(code == 0 ? 0xFFFD : code, true);
        }
    }

    void writeEscaped(char32_t code, bool attribute) {
        switch (code) {
            case '&':
                out_ += "&amp;";
                return;
            case '<':
                out_ += "&lt;";
                return;
            case '>':
                out_ += "&gt;";
                return;
            case '"':
                if (attribute) {
                    out_ += "&quot;";
                    return;
                }
                break;
            default:
                break;
        }
        AppendUtf8(out_, code);
    }

    void write(std::string_view markup) {
        if (writing_) {
            out_ += markup;
        }
    }

    // A style sheet's text: never laid out, and read by the view as written
    // once it holds nothing its reader would take for markup.
    void hiddenText(std::string_view text) {
        // The view matches every selector of its style sheets against every
        // element after them and each element around it: a sheet of many
        // selectors costs every later element as much.
        styleSelectors_ += static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '{') +
                                                      std::count(text.begin(), text.end(), ','));
        if (!writing_) {
            return;
        }
        for (const char c : text) {
            out_ += c == '<' || c == '&' ? ' ' : c;
        }
    }

    void character(char32_t code) {
        if (outsideCells()) {
            return;
        }
        if (code == 0) {
            code = 0xFFFD;
        }
        if (code == '\r' && !stack_.empty() && stack_.back().pre) {
            // Preformatted text loses it: no break there.
            addWork(1);
            if (writing_) {
                out_ += '\r';
            }
            return;
        }
        if (IsBlank(code) && afterTable_) {
            // Dropped by the view after a table's start or end, which may
            // stand where no table is made (one without cells): no break.
            addWork(1);
        } else if (IsBlank(code) || code == kZeroWidthBreak) {
            endRun();
            addWork(1);
            afterTable_ = afterTable_ && code != kZeroWidthBreak;
        } else {
            const bool joining = IsJoining(code);
            if (joining && marks_ >= kMaxHtmlCombiningMarks) {
                return;
            }
            runCharacter();
            marks_ = joining ? marks_ + 1 : 0;
            afterTable_ = false;
        }
        if (writing_) {
            writeEscaped(code, false);
        }
    }

    // Counts one character of a run, after a zero-width break when the run
    // is as long as the view takes.
    void runCharacter() {
        if (run_ == kMaxHtmlRunChars) {
            if (writing_) {
                AppendUtf8(out_, kZeroWidthBreak);
            }
            endRun();
            addWork(1);
        }
        addWork(1 + run_ % kMaxHtmlRunChars / kRunCharsPerWork);
        ++run_;
        shape_.longestRun = std::max(shape_.longestRun, run_);
    }

    void endRun() {
        run_ = 0;
        marks_ = 0;
    }

    // What an element costs beyond its place among the tables: its own and
    // its ancestors' matching against the style sheets before it.
    void addElementWork() {
        addWork(kElementWork);
        const std::uint64_t matching =
            std::min<std::uint64_t>(styleSelectors_, std::uint64_t{1} << 40) * (stack_.size() + 1);
        shape_.layoutWork = std::min(shape_.layoutWork + matching, std::uint64_t{1} << 62);
        checkLimits();
    }

    void addWork(std::uint64_t units) {
        const int tables = std::min(tables_, 40);
        shape_.layoutWork = std::min(shape_.layoutWork + (units << tables), std::uint64_t{1} << 62);
        checkLimits();
    }

    // Beyond the limits the page is not shown: writing it on would only cost
    // memory.
    void checkLimits() {
        if (writing_ && !IsHtmlWithinLimits(shape_, 0)) {
            writing_ = false;
            std::string().swap(out_);
        }
    }

    bool writing_;
    std::string out_;
    HtmlShape shape_;
    std::vector<Open> stack_;
    std::unordered_map<std::string, int> counts_;
    int tables_ = 0;
    std::size_t run_ = 0;
    int marks_ = 0;
    bool afterTable_ = false;
    std::uint64_t styleSelectors_ = 0;
};

}  // namespace

HtmlPage RewriteHtml(std::string_view html) {
    const std::string utf8 = HtmlAsUtf8(html);
    // A page read back is larger than the page it came from (end tags,
    // quotes, escapes); beyond that it is not written at all.
    PageWriter writer(html.size() <= kMaxRewrittenBytes);
    HtmlScanEvents on;
    on.text = [&](std::string_view text, const std::string& rawIn) { writer.text(text, rawIn); };
    on.start = [&](const std::string& name, std::vector<HtmlAttribute>& attributes,
                   bool selfClosing) { writer.start(name, attributes, selfClosing); };
    on.end = [&](const std::string& name) { writer.end(name); };
    ScanHtml(utf8, on);
    return writer.finish();
}

HtmlShape MeasureHtml(std::string_view html) {
    return RewriteHtml(html).shape;
}

bool IsHtmlWithinLimits(const HtmlShape& shape, std::size_t bytes) {
    return bytes <= kMaxHtmlPageBytes && shape.tableDepth <= kMaxHtmlTableDepth &&
           shape.elementDepth <= kMaxHtmlElementDepth && shape.layoutWork <= kMaxHtmlLayoutWork;
}

bool IsHtmlSafeToLayOut(std::string_view html) {
    return IsHtmlWithinLimits(MeasureHtml(html), html.size());
}

}  // namespace zolt
