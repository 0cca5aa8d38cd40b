#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zolt {

// The decisions of the Windows platform layer, as plain functions that every
// build compiles, so that they are tested on every system.

// The program of the registered "http" open command (the default value of
// HKEY_CLASSES_ROOT\http\shell\open\command): ASCII letters lower-cased, cut
// after the first ".exe" so that switches and the address placeholder are
// dropped, double quotes removed. A command without ".exe" gives ".exe",
// which the shell then fails to start; an empty command gives "".
std::string BrowserProgramFromCommand(std::string_view command);

// The parameter text of a program started through the shell: the arguments
// joined by spaces, each one quoted (with its quotes and the backslashes
// before them escaped) only when it is empty or holds a space, tab or quote,
// so that the program's command-line parser gives back exactly `args`.
std::string WindowsParameterText(const std::vector<std::string>& args);

// Whether `path` names a folder from a drive's root or a network share
// ("C:\", "C:/", "\\server\share"), not from the working directory.
bool IsAbsoluteWindowsPath(std::string_view path);

// This user's folder for what the program keeps between runs:
// "%LOCALAPPDATA%\<product>\" as `localAppData`, else as the known folder the
// system reports, in '/' form and ending in "/". A relative or empty value is
// not valid; nothing when neither is valid (then nothing is kept).
std::optional<std::string> WindowsStateFolder(std::string_view localAppData,
                                              std::string_view knownFolder);

// The folder name of the state folder and of the installation.
inline constexpr const char* kWindowsProductFolder = "RSSFeedZolt";

}  // namespace zolt
