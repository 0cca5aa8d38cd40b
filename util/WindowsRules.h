#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zolt {

// The decisions of the Windows platform layer, as plain functions that every
// build compiles, so that they are tested on every system.

// The value of an environment variable (names in any letter case), nothing
// when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// `text` with every "%NAME%" of a set variable replaced by its value, as
// Windows expands a REG_EXPAND_SZ value; unset names and a lone "%" stay.
std::string ExpandEnvironmentText(std::string_view text, const EnvironmentLookup& variable);

// The browser of the registered "http" open command (the default value of
// HKEY_CLASSES_ROOT\http\shell\open\command), environment strings expanded,
// ASCII letters lower-cased: a quoted program path whole, an unquoted one up
// to the first ".exe" followed by a blank or the end. "" when the command
// names no browser program: no ".exe", a name without a folder (which the
// search order could take from the working folder), rundll32 (the shell's
// own handler: "url.dll,FileProtocolHandler"), or no program at all ("%1").
// The caller then opens the address with the shell's own handler.
std::string BrowserProgramFromCommand(std::string_view command, const EnvironmentLookup& variable);

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
// not valid, and a variable that names a network share ("\\server\...")
// gives way to a valid known folder; nothing when neither is valid (then
// nothing is kept).
std::optional<std::string> WindowsStateFolder(std::string_view localAppData,
                                              std::string_view knownFolder);

// The folder name of the state folder and of the installation.
inline constexpr const char* kWindowsProductFolder = "RSSFeedZolt";

}  // namespace zolt
