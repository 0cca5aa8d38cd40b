#pragma once

#include <string>
#include <vector>

namespace zolt {

// A program and its arguments, handed to the process start as a list: no
// shell ever reads them.
struct ProcessCommand {
    std::string program;
    std::vector<std::string> args;
};

// The page of the preview site that holds the snippet.
inline constexpr const char* kPreviewPageName = "index.php";

// Lays out the site that a preview runs in `siteDir`, a fresh folder of the
// caller's: a copy of the library `feedreaderFile` and the snippet as the
// page beside it, so that the library's cache lives inside the folder.
// Both files are created new; a name that exists already, a link included,
// is refused. Returns the page's full path, or "" when the library could not
// be read or a file not written.
[[nodiscard]] std::string WritePreviewSite(const std::string& siteDir,
                                           const std::string& feedreaderFile,
                                           const std::string& snippet);

// `php -m`: the modules PHP has, to learn whether the preview can run.
ProcessCommand PhpModulesCommand(const std::string& php);

// `php` running the page. Warnings and errors go to the error stream, never
// into what the page prints, and are not logged a second time.
ProcessCommand PhpPageCommand(const std::string& php, const std::string& pageFile);

}  // namespace zolt
