#include "tools/PackageText.h"

#include <QRegularExpression>
#include <QUrl>

#include "util/Text.h"

namespace zolt {

namespace {

// One part of an AppStream id: lower-case letters, digits and "_", never
// starting with a digit.
std::string IdPart(const std::string& text) {
    std::string part;
    for (const char c : AsciiLower(text)) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        part += keep ? c : '_';
    }
    return !part.empty() && part[0] >= '0' && part[0] <= '9' ? "_" + part : part;
}

}  // namespace

bool IsPackageName(const std::string& name) {
    static const QRegularExpression pattern("^[a-z0-9][a-z0-9+.-]+$");
    return pattern.match(ToQString(name)).hasMatch();
}

bool IsMaintainer(const std::string& maintainer) {
    static const QRegularExpression pattern(
        R"(^[^<>,\s]([^<>,]*[^<>,\s])? <[^<>@\s]+@[^<>@\s]+>$)");
    return IsValidUtf8(maintainer) && maintainer == OneLine(maintainer) &&
           pattern.match(ToQString(maintainer)).hasMatch();
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
    return FromQString(text.simplified());
}

std::vector<std::string> Paragraphs(const std::string& bytes) {
    std::vector<std::string> paragraphs;
    std::string current;
    const QStringList lines = ToQString(bytes).split(QRegularExpression("\r\n|\r|\n"));
    for (const QString& line : lines) {
        const std::string part = OneLine(FromQString(line));
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
    const auto length = [](const std::string& s) { return ToQString(s).size(); };
    for (const QString& word : ToQString(text).split(' ', Qt::SkipEmptyParts)) {
        const std::string w = FromQString(word);
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
    return FromQString(ToQString(text).toHtmlEscaped().replace('\'', "&apos;"));
}

std::string DesktopEntryText(const BrandPackageInfo& info) {
    return "[Desktop Entry]\nType=Application\nName=" + DesktopValue(info.product) +
           "\nComment=" + DesktopValue(info.summary) + "\nExec=" + info.name +
           "\nIcon=" + info.name + "\nStartupWMClass=" + info.name +
           "\nTerminal=false\nCategories=Development;WebDevelopment;\n"
           "Keywords=RSS;feed;news;eBay;PHP;snippet;web site;\n";
}

std::string ComponentId(const std::string& webAddress, const std::string& brandCode,
                        const std::string& packageName) {
    const QUrl url(ToQString(webAddress), QUrl::StrictMode);
    QStringList labels = url.host(QUrl::FullyEncoded).split('.', Qt::SkipEmptyParts);
    const bool site = (url.scheme() == "http" || url.scheme() == "https") && labels.size() >= 2 &&
                      !url.host().contains(QRegularExpression("^[0-9.]*$|:"));
    std::string id;
    if (site) {
        if (labels.size() > 2 && labels.front() == "www") {
            labels.removeFirst();
        }
        for (auto label = labels.crbegin(); label != labels.crend(); ++label) {
            id += IdPart(FromQString(*label)) + ".";
        }
    } else {
        const std::string code = IdPart(OneLine(brandCode));
        id = "brand." + (code.empty() ? std::string("reseller") : code) + ".";
    }
    return id + IdPart(packageName);
}

std::string MetainfoText(const BrandPackageInfo& info, const std::string& releases) {
    std::string description;
    for (const std::string& p : info.paragraphs) {
        description += "    <p>" + XmlText(p) + "</p>\n";
    }
    // The summary starts with a capital there.
    QString summary = ToQString(info.summary);
    summary.replace(0, 1, summary.left(1).toUpper());
    const std::string homepage =
        info.homepage.empty() ? ""
                              : "  <url type=\"homepage\">" + XmlText(info.homepage) + "</url>\n";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<component type=\"desktop-application\">\n"
           "  <id>" +
           info.componentId +
           "</id>\n"
           "  <metadata_license>FSFAP</metadata_license>\n"
           "  <project_license>LicenseRef-proprietary</project_license>\n"
           "  <name>" +
           XmlText(info.product) +
           "</name>\n"
           "  <summary>" +
           XmlText(FromQString(summary)) +
           "</summary>\n"
           "  <description>\n" +
           description +
           "  </description>\n"
           "  <launchable type=\"desktop-id\">" +
           info.name +
           ".desktop</launchable>\n"
           "  <provides>\n    <binary>" +
           info.name +
           "</binary>\n  </provides>\n"
           "  <categories>\n    <category>Development</category>\n"
           "    <category>WebDevelopment</category>\n  </categories>\n"
           "  <developer_name>" +
           XmlText(info.developer) + "</developer_name>\n" + homepage +
           "  <content_rating type=\"oars-1.1\"/>\n" + releases + "</component>\n";
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
    const auto own = [](const char* key, const std::string& value) {
        return value.empty() ? std::string() : std::string(key) + ": " + value + "\n";
    };
    std::string control =
        "Package: " + info.name + "\n" + field("Version") + field("Architecture") +
        own("Maintainer", info.maintainer) + "Installed-Size: " + std::to_string(installedKiB) +
        "\n" + field("Depends") + field("Recommends") + field("Section") + field("Priority") +
        own("Homepage", info.homepage) + "Description: " + info.summary + "\n";
    for (size_t i = 0; i < info.paragraphs.size(); ++i) {
        control += i > 0 ? " .\n" : "";
        for (const std::string& line : WrapWords(info.paragraphs[i], 78)) {
            // " ." and what follows it is the field's own markup; a line set
            // in by two blanks is shown as it is.
            control += (line[0] == '.' ? "  " : " ") + line + "\n";
        }
    }
    return control;
}

}  // namespace zolt
