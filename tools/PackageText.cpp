#include "tools/PackageText.h"

#include <QRegularExpression>

#include "util/Text.h"

namespace zolt {

bool IsPackageName(const std::string& name) {
    static const QRegularExpression pattern("^[a-z0-9][a-z0-9+.-]+$");
    return pattern.match(QString::fromStdString(name)).hasMatch();
}

std::string PackageNameFor(const std::string& productName) {
    std::string name;
    bool gap = false;
    for (const char c : productName) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit) {
            gap = true;
            continue;
        }
        if (gap && !name.empty()) {
            name += '-';
        }
        gap = false;
        name += letter ? static_cast<char>(c | 0x20) : c;
    }
    return IsPackageName(name) ? name : std::string();
}

std::string OneLine(const std::string& bytes) {
    QString text = ToQString(bytes);
    for (QChar& c : text) {
        if (!c.isPrint()) {
            c = QLatin1Char(' ');
        }
    }
    return text.simplified().toStdString();
}

std::vector<std::string> Paragraphs(const std::string& bytes) {
    std::vector<std::string> paragraphs;
    std::string current;
    const QStringList lines = ToQString(bytes).split(QRegularExpression("\r\n|\r|\n"));
    for (const QString& line : lines) {
        const std::string part = OneLine(line.toStdString());
        if (part.empty()) {
            if (!current.empty()) {
                paragraphs.push_back(current);
            }
            current.clear();
        } else {
            current += (current.empty() ? "" : " ") + part;
        }
    }
    if (!current.empty()) {
        paragraphs.push_back(current);
    }
    return paragraphs;
}

std::vector<std::string> WrapWords(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    for (const QString& word : QString::fromStdString(text).split(' ', Qt::SkipEmptyParts)) {
        const std::string w = word.toStdString();
        const auto length = [](const std::string& s) { return QString::fromStdString(s).size(); };
        if (!line.empty() && static_cast<std::size_t>(length(line) + 1 + length(w)) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string DesktopValue(const std::string& line) {
    std::string out;
    for (const char c : line) {
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return out;
}

std::string XmlText(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().replace('\'', "&apos;").toStdString();
}

}  // namespace zolt
