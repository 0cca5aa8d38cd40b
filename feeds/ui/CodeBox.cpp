#include "feeds/ui/CodeBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "util/Text.h"

namespace zolt {

void ShowCode(QPlainTextEdit& box, const std::string& code) {
    QString text = ToQString(code);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setPlainText(text);
}

void CopyCode(QPlainTextEdit& box) {
    box.selectAll();
    QString text = box.toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    QGuiApplication::clipboard()->setText(text);
    QTextCursor cursor = box.textCursor();
    cursor.movePosition(QTextCursor::Start);
    box.setTextCursor(cursor);
}

}  // namespace zolt
