#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zolt {

// What the script of a brand's Windows installer names.
struct InstallerInfo {
    std::string name;       // the installer's key in "Apps" (IsPackageName)
    std::string product;    // the brand's product name, one line
    std::string publisher;  // shown in "Apps"
    std::string version;
    std::string stage;                 // the folder whose files are installed
    std::string outFile;               // the installer that makensis writes
    std::vector<std::string> files;    // the stage's files, relative, "\\"-separated
    std::vector<std::string> folders;  // its folders, relative, parents first
};

// `text` for inside an NSIS string between double quotes: "$" and the quote
// escaped, line ends made blanks, so that a product name is never read as a
// variable or a command.
std::string NsisEscaped(std::string_view text);

// A folder and shortcut name for `product` that Windows takes: the
// characters it forbids in names become "-", and trailing dots and spaces go.
// Empty when nothing is left.
std::string WindowsNameFor(std::string_view product);

// The NSIS script of a per-machine, 64-bit installer: the stage's files under
// Program Files\<product>, a Start-menu entry, an uninstaller that removes
// exactly those files (never a whole folder a user may have chosen, such as
// C:\), and the name, version and publisher in "Apps".
std::string NsisScriptText(const InstallerInfo& info);

}  // namespace zolt
