#pragma once

#include <string>
#include <vector>

#include "util/ProgramConfig.h"

namespace zolt {

// The program's own copy of feedreader.php, first found first: beside the
// executable (a folder install or a bundle), in share/rssfeedzolt/server/
// beside the program's bin/ folder (cmake --install), then under each shared
// data folder in `dataDirs` (a package install puts it in /usr/share).
// Empty when none of them holds a regular file of that name.
[[nodiscard]] std::string FindFeedreader(const std::string& programDir,
                                         const std::vector<std::string>& dataDirs);

// FindFeedreader for this process: the folder of its executable and the
// system's shared data folders.
std::string FindProgramFeedreader();

// The feedreader.php of this configuration: the one it names, else the
// program's own copy; empty when there is none.
std::string ProgramFeedreader(const ProgramConfig& config);

// The confirmation of a copied snippet; with the library's path it also
// tells the user where to take feedreader.php from.
std::string CodeCopiedMessage(const std::string& feedreaderFile);

}  // namespace zolt
