#include "tools/InstallerScript.h"

#include <QUuid>

#include <algorithm>
#include <string>

#include "util/Text.h"

namespace zolt {

namespace {

// The version as Windows' four numbers: "2.01" gives "2.1.0.0".
std::string FourNumbers(const std::string& version) {
    std::string out;
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t end = std::min(version.find('.', at), version.size());
        const std::string digits = at < version.size() ? version.substr(at, end - at) : "";
        const bool number = !digits.empty() && digits.size() <= 4 &&
                            digits.find_first_not_of("0123456789") == std::string::npos;
        out += (part > 0 ? "." : "") + std::to_string(number ? std::stoi(digits) : 0);
        at = end + 1;
    }
    return out;
}

}  // namespace

std::string NsisEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '$') {
            escaped.append("$$");
        } else if (c == '"') {
            escaped.append("$\\\"");
        } else if (c == '{') {
            escaped.append("${U+7B}");  // the preprocessor does not read its result again
        } else if (c == '\r' || c == '\n' || c == '\t') {
            escaped.push_back(' ');  // a line end would end the command
        } else {
            escaped.push_back(c);
        }
    }
    return escaped;
}

std::string WindowsNameFor(std::string_view product) {
    std::string name;
    for (const char c : product) {
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 ||
                               std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        name.push_back(forbidden ? '-' : c);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}

std::string UninstallKeyFor(const std::string& name) {
    // A namespace of this tool's own, so that the GUIDs are no one else's.
    static const QUuid brands("{6f1d8c52-3a0e-4b7f-9c21-5e8a4d0b7c13}");
    return FromQString(QUuid::createUuidV5(brands, PathToQString(name)).toString());
}

std::string NsisScriptText(const InstallerInfo& info) {
    // Every value from the brand or the command line goes through
    // NsisEscaped; the rest is the script's own text.
    const auto q = [](std::string_view own, std::string_view value = {}) {
        std::string quoted(1, '"');
        quoted.append(own).append(NsisEscaped(value)).push_back('"');
        return quoted;
    };
    const std::string folder = NsisEscaped(WindowsNameFor(info.product));
    const std::string key =
        q("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", UninstallKeyFor(info.name));
    const std::string shortcut = "\"$SMPROGRAMS\\" + folder + ".lnk\"";
    std::string s = "Unicode true\nTarget amd64-unicode\nSetCompressor /SOLID lzma\n";
    s += "Name " + q("", info.product) + "\n";
    s += std::string("OutFile \"") + kInstallerOut + "\"\n";
    s += "InstallDir \"$PROGRAMFILES64\\" + folder + "\"\n";
    s += "RequestExecutionLevel admin\n";
    s += "VIProductVersion " + FourNumbers(info.version) + "\n";
    for (const auto& [field, value] :
         {std::pair{"ProductName", info.product}, std::pair{"CompanyName", info.publisher},
          std::pair{"FileDescription", info.product + " Setup"},
          std::pair{"FileVersion", info.version}, std::pair{"ProductVersion", info.version},
          std::pair{"LegalCopyright", "Copyright (c) " + info.publisher}}) {
        s += std::string("VIAddVersionKey /LANG=1033 ") + field + " " + q("", value) + "\n";
    }
    // The tool's own command, of plain paths: no quote of its own, no "$".
    if (!info.signCommand.empty() &&
        info.signCommand.find_first_of("'$`{\r\n") == std::string::npos) {
        s += "!uninstfinalize '" + info.signCommand + "' = 0\n";  // a failure fails the build
    }
    s += "Page directory\nPage instfiles\nUninstPage uninstConfirm\nUninstPage instfiles\n";
    s += "Section\n  SetShellVarContext all\n  SetRegView 64\n  SetOutPath \"$INSTDIR\"\n";
    s += std::string("  File /r \"") + kInstallerStage + "\\*\"\n";
    s += "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  CreateShortcut " + shortcut + " \"$INSTDIR\\rssfeedzolt.exe\"\n";
    s += "  WriteRegStr HKLM " + key + " DisplayName " + q("", info.product) + "\n";
    s += "  WriteRegStr HKLM " + key + " DisplayVersion " + q("", info.version) + "\n";
    s += "  WriteRegStr HKLM " + key + " Publisher " + q("", info.publisher) + "\n";
    // The brand's icon where it has one: the program's own names the maker.
    const bool brandIcon =
        std::find(info.files.begin(), info.files.end(), "main.ico") != info.files.end();
    s += "  WriteRegStr HKLM " + key + " DisplayIcon \"$INSTDIR\\" +
         (brandIcon ? "main.ico" : "rssfeedzolt.exe") + "\"\n";
    s += "  WriteRegStr HKLM " + key + " UninstallString \"$\\\"$INSTDIR\\Uninstall.exe$\\\"\"\n";
    s += "SectionEnd\n";
    s += "Section \"Uninstall\"\n  SetShellVarContext all\n  SetRegView 64\n";
    s += "  Delete " + shortcut + "\n";
    for (const std::string& file : info.files) {
        s += "  Delete " + q("$INSTDIR\\", file) + "\n";
    }
    for (auto sub = info.folders.rbegin(); sub != info.folders.rend(); ++sub) {
        s += "  RMDir " + q("$INSTDIR\\", *sub) + "\n";
    }
    s += "  Delete \"$INSTDIR\\Uninstall.exe\"\n  RMDir \"$INSTDIR\"\n  DeleteRegKey HKLM " + key +
         "\n";
    s += "SectionEnd\n";
    return s;
}

}  // namespace zolt
