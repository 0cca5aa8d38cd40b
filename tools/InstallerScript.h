#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zolt {

// What the script of a brand's Windows installer names. makensis runs in
// the folder that holds the stage "stage\" and writes "built.exe" there, so
// that no path of the building machine enters the script.
struct InstallerInfo {
    std::string name;       // the installer's name (IsPackageName)
    std::string product;    // the brand's product name, one line
    std::string publisher;  // shown in "Apps" and the file properties
    std::string version;
    std::vector<std::string> files;    // the stage's files, relative, "\\"-separated
    std::vector<std::string> folders;  // its folders, relative, parents first
    std::string signCommand;           // !uninstfinalize's command; empty: unsigned
};

inline constexpr char kInstallerStage[] = "stage";
inline constexpr char kInstallerOut[] = "built.exe";

// `text` for inside an NSIS string between double quotes, as NSIS can
// neither expand nor end it: "$" and the quote escaped, every "{" written as
// "${U+7B}" (so that no "${" of the text is a define of the building
// machine, such as ${NSISDIR}), line ends made blanks.
std::string NsisEscaped(std::string_view text);

// A folder and shortcut name for `product` that Windows takes: the
// characters it forbids in names become "-", and trailing dots and spaces go.
// Empty when nothing is left.
std::string WindowsNameFor(std::string_view product);

// The key of the brand under the uninstall keys of "Apps": a GUID made of
// the installer's name, the same for every version of one brand, that no
// other program's key is ("notepad++" gives no "notepad++").
std::string UninstallKeyFor(const std::string& name);

// The NSIS script of a per-machine, 64-bit installer: the stage's files under
// Program Files\<product>, a Start-menu entry, an uninstaller that removes
// exactly those files (never a whole folder a user may have chosen, such as
// C:\), the name, version and publisher in "Apps" and in the installer's
// file properties.
std::string NsisScriptText(const InstallerInfo& info);

}  // namespace zolt
