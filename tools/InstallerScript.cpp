#include "tools/InstallerScript.h"

#include <string>

namespace zolt {

std::string NsisEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '$') {
            escaped.append("$$");
        } else if (c == '"') {
            escaped.append("$\\\"");
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
        q("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", info.name);
    const std::string shortcut = "\"$SMPROGRAMS\\" + folder + ".lnk\"";
    std::string s = "Unicode true\nTarget amd64-unicode\nSetCompressor /SOLID lzma\n";
    s += "Name " + q("", info.product) + "\n";
    s += "OutFile " + q("", info.outFile) + "\n";
    s += "InstallDir \"$PROGRAMFILES64\\" + folder + "\"\n";
    s += "RequestExecutionLevel admin\n";
    s += "Page directory\nPage instfiles\nUninstPage uninstConfirm\nUninstPage instfiles\n";
    s += "Section\n  SetShellVarContext all\n  SetRegView 64\n  SetOutPath \"$INSTDIR\"\n";
    s += "  File /r " + q("", info.stage + "/*") + "\n";
    s += "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n";
    s += "  CreateShortcut " + shortcut + " \"$INSTDIR\\rssfeedzolt.exe\"\n";
    s += "  WriteRegStr HKLM " + key + " DisplayName " + q("", info.product) + "\n";
    s += "  WriteRegStr HKLM " + key + " DisplayVersion " + q("", info.version) + "\n";
    s += "  WriteRegStr HKLM " + key + " Publisher " + q("", info.publisher) + "\n";
    s += "  WriteRegStr HKLM " + key + " DisplayIcon \"$INSTDIR\\rssfeedzolt.exe\"\n";
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
