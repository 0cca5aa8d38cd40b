#include "news/NewsTitle.h"

#include <QChar>
#include <QList>
#include <QString>

#include <cstddef>

#include "util/HtmlScan.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr char32_t kZeroWidthNonJoiner = 0x200C;
constexpr char32_t kZeroWidthJoiner = 0x200D;
// "&#" + at most 7 digits (U+10FFFF has 7) + ";".
constexpr std::size_t kMaxReferenceDigits = 7;

// The character "&#code;" stands for in a title, or "" when the server
// would never have written it so (it is then text as it stands).
std::string ReferencedCharacter(unsigned long code) {
    if (code == '&') {
        return "&";
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return "";
    }
    std::string utf8;
    AppendUtf8(utf8, static_cast<char32_t>(code));
    return utf8.find('\xAF') != std::string::npos ? utf8 : "";
}

// Turns the references of the server's letters back into them, left to
// right in one pass; what a reference gives is never read again.
std::string DecodeTitleReferences(const std::string& wire) {
    std::string out;
    out.reserve(wire.size());
    std::size_t i = 0;
    while (i < wire.size()) {
        const std::size_t amp = wire.find("&#", i);
        if (amp == std::string::npos) {
            break;
        }
        out.append(wire, i, amp - i);
        std::size_t end = amp + 2;
        unsigned long code = 0;
        while (end < wire.size() && end - amp - 2 < kMaxReferenceDigits && wire[end] >= '0' &&
               wire[end] <= '9') {
            code = code * 10 + static_cast<unsigned long>(wire[end] - '0');
            ++end;
        }
        const std::string character =
            end > amp + 2 && end < wire.size() && wire[end] == ';' ? ReferencedCharacter(code) : "";
        if (character.empty()) {
            out += '&';
            i = amp + 1;
        } else {
            out += character;
            i = end + 1;
        }
    }
    out.append(wire, i, std::string::npos);
    return out;
}

}  // namespace

std::string NewsTitleText(const std::string& wire) {
    return NewsLineText(IsValidUtf8(wire) ? DecodeTitleReferences(wire) : wire);
}

std::string NewsLineText(const std::string& bytes) {
    const QString text = ToQString(bytes);
    QString shown;
    shown.reserve(text.size());
    for (const uint unit : text.toUcs4()) {
        const auto code = static_cast<char32_t>(unit);
        switch (QChar::category(code)) {
            case QChar::Other_Control:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
                shown += QChar(u' ');
                break;
            case QChar::Other_Format:
                if (code == kZeroWidthNonJoiner || code == kZeroWidthJoiner) {
                    shown += QString::fromUcs4(&code, 1);
                }
                break;
            default:
                shown += QString::fromUcs4(&code, 1);
        }
    }
    return FromQString(shown);
}

}  // namespace zolt
