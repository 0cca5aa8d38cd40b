#include "tools/PackageDocs.h"

#include <vector>

#include "util/Text.h"

namespace zolt {

namespace {

// Lines of `text` for a control-file field's continuation: each one blank in.
std::string Continued(const std::string& text) {
    std::string lines;
    for (const std::string& line : WrapWords(text, 76)) {
        lines += " " + line + "\n";
    }
    return lines;
}

}  // namespace

std::string CopyrightText(const BrandPackageInfo& info, const std::string& years) {
    const std::string holder = OneLine(OneLine(years) + " " + info.developer);
    return "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
           "Upstream-Name: " +
           info.name + "\nUpstream-Contact: " + info.maintainer +
           "\n\nFiles: *\nCopyright: " + holder + "\nLicense: LicenseRef-proprietary\n" +
           Continued("All rights reserved. " + info.product +
                     " is licensed to its users under "
                     "the terms of their agreement with " +
                     info.developer + "; it may not be copied or passed on otherwise.");
}

std::string ChangelogText(const BrandPackageInfo& info, const std::string& version,
                          const std::string& date) {
    return info.name + " (" + version + ") stable; urgency=medium\n\n  * " + info.product + " " +
           version + ".\n\n -- " + info.maintainer + "  " + date + "\n";
}

std::string RoffText(const std::string& text) {
    // A line starting with "." or "'" would be a request.
    std::string out = !text.empty() && (text[0] == '.' || text[0] == '\'') ? "\\&" : "";
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

std::string ManPageText(const BrandPackageInfo& info, const std::string& version) {
    const std::string name = RoffText(info.name);
    const std::string folder = "/usr/lib/" + info.name + "/";
    const std::string library = "/usr/share/" + info.name + "/feedreader.php";
    std::string page = ".TH " + RoffText(AsciiUpper(info.name)) + " 1 \"\" \"" +
                       RoffText(info.name + " " + version) + "\" \"User Commands\"\n" +
                       ".SH NAME\n" + name + " \\- " + RoffText(info.summary) + "\n" +
                       ".SH SYNOPSIS\n.B " + name + "\n.SH DESCRIPTION\n";
    for (const std::string& paragraph : info.paragraphs) {
        page += RoffText(paragraph) + "\n.PP\n";
    }
    page += "The snippets that\n.B " + name +
            "\nwrites call\n.BR feedreader.php ,\nthe PHP library to upload beside the page: "
            "it is installed as\n.IR " +
            RoffText(library) + " .\n" + ".SH FILES\n.TP\n.I " + RoffText(folder) +
            "\nThe program folder, with the settings, pictures and skin of\n" +
            RoffText(info.product) + ".\nThe program never writes it.\n" + ".TP\n.I " +
            RoffText(library) + "\nThe PHP library of the snippets.\n" +
            ".TP\n.I $XDG_STATE_HOME\nThe id of the last message read is kept per user under "
            "this folder\n(by default\n.IR ~/.local/state ).\n";
    return page;
}

}  // namespace zolt
