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

std::string DesktopEntryText(const BrandPackageInfo& info) {
    return "[Desktop Entry]\nType=Application\nName=" + DesktopValue(info.product) +
           "\nComment=" + DesktopValue(info.summary) + "\nExec=" + info.name +
           "\nIcon=" + info.name +
           "\nTerminal=false\nCategories=Development;WebDevelopment;\n"
           "Keywords=RSS;feed;news;eBay;PHP;snippet;web site;\n";
}

std::string MetainfoId(const std::string& packageName) {
    // AppStream ids take no "-" or "+", and "." parts them.
    std::string id = packageName;
    for (char& c : id) {
        c = (c == '-' || c == '+' || c == '.') ? '_' : c;
    }
    return "com.rssfeedzolt.brand_" + id;
}

std::string MetainfoText(const BrandPackageInfo& info, const std::string& releases) {
    QString description;
    for (const std::string& p : info.paragraphs) {
        description += QString::fromStdString("    <p>" + XmlText(p) + "</p>\n");
    }
    // The summary starts with a capital there.
    QString summary = QString::fromStdString(info.summary);
    summary.replace(0, 1, summary.left(1).toUpper());
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    return QString(R"(<?xml version="1.0" encoding="UTF-8"?>
<component type="desktop-application">
  <id>%1</id>
  <metadata_license>FSFAP</metadata_license>
  <project_license>LicenseRef-proprietary</project_license>
  <name>%2</name>
  <summary>%3</summary>
  <description>
%4  </description>
  <launchable type="desktop-id">%5.desktop</launchable>
  <provides>
    <binary>%5</binary>
  </provides>
  <categories>
    <category>Development</category>
    <category>WebDevelopment</category>
  </categories>
  <developer_name>%6</developer_name>
  <content_rating type="oars-1.1"/>
%7</component>
)")
        .arg(q(MetainfoId(info.name)), q(XmlText(info.product)), q(XmlText(summary.toStdString())),
             description, q(info.name), q(XmlText(info.developer)), q(releases))
        .toStdString();
}

std::string ControlText(const BrandPackageInfo& info,
                        const std::map<std::string, std::string>& baseFields,
                        long long installedKiB) {
    const auto field = [&](const char* key) {
        const auto found = baseFields.find(key);
        return found == baseFields.end() || found->second.empty()
                   ? std::string()
                   : std::string(key) + ": " + found->second + "\n";
    };
    std::string control = "Package: " + info.name + "\n" + field("Version") +
                          field("Architecture") + field("Maintainer") +
                          "Installed-Size: " + std::to_string(installedKiB) + "\n" +
                          field("Depends") + field("Recommends") + field("Section") +
                          field("Priority") + "Description: " + info.summary + "\n";
    for (size_t i = 0; i < info.paragraphs.size(); ++i) {
        control += i > 0 ? " .\n" : "";
        for (const std::string& line : WrapWords(info.paragraphs[i], 78)) {
            control += " " + line + "\n";
        }
    }
    return control;
}

}  // namespace zolt
