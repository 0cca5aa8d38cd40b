#include "branding/SkinSheet.h"

#include <QtGui/private/qcssparser_p.h>

namespace zolt {

Status CheckSkinStyleSheet(const std::string& sheet) {
    // As the program hands it to Qt (toolkit/Skin.cpp).
    const QString text = QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size()));
    if (text.startsWith(QLatin1String("file:///"))) {
        return Fail(
            "the style sheet starts with \"file:///\", which Qt reads as the name of a "
            "file to load instead");
    }
    QCss::Parser parser(text);
    QCss::StyleSheet parsed;
    if (parser.parse(&parsed)) {
        return {};
    }
    // Where the parser stopped: the symbol it refused, or the end of the
    // sheet when it ended inside a rule (a missing "}").
    const qsizetype count = parser.symbols.size();
    const qsizetype at = parser.errorIndex >= 0 ? parser.errorIndex : parser.index;
    const bool atEnd = at >= count;
    // At the end, the line of the last thing written, not of the blanks after it.
    qsizetype shown = atEnd ? count - 1 : at;
    while (atEnd && shown > 0 && parser.symbols.at(shown).token == QCss::S) {
        --shown;
    }
    const QCss::Symbol symbol = count == 0 ? QCss::Symbol() : parser.symbols.at(shown);
    const qsizetype line = symbol.text.left(symbol.start).count(u'\n') + 1;
    const QString lexem = symbol.lexem().trimmed().left(40);
    return Fail("Qt cannot read the style sheet at line " + std::to_string(line) +
                (atEnd             ? std::string(": it ends inside a rule (a \"}\" missing?)")
                 : lexem.isEmpty() ? std::string()
                                   : ", at \"" + lexem.toStdString() + "\"") +
                "; the program would run without its skin");
}

}  // namespace zolt
