#pragma once

#include <string>

#include "util/MakerUpdateSite.h"

namespace zolt {

// The file that the Debian package puts into the program folder: its
// presence says that the system's package manager owns that folder and
// brings the updates.
inline constexpr const char* kPackageMarkerFile = "installed-by-package";

// Where this copy of the program lives and what it may do there, settled at
// start (MakeProgramConfig) and handed to what needs it; tests point it at
// temporary folders and 127.0.0.1.
struct ProgramConfig {
    // Folder of the files "beside the executable".
    std::string baseDir;
    // This user's folder for what the program keeps between runs when it
    // may not write its own folder ("$XDG_STATE_HOME/rssfeedzolt/"; on
    // Windows "%LOCALAPPDATA%/RSSFeedZolt/"; ending in "/"); empty: nothing
    // is kept.
    std::string stateDir;
    // Installed by the system's package manager (kPackageMarkerFile in
    // baseDir): the program folder is never written and updates come from
    // the package manager.
    bool packageInstall = false;
    // The maker's live-update site (a folder, ending in "/") and the base64
    // public key its packages are signed with, for copies whose brand names
    // none of its own; tests point the site at 127.0.0.1.
    std::string updateBaseUrl = kMakerUpdateBaseURL;
    std::string updatePublicKey = kMakerUpdatePublicKey;
    // The feedreader.php that previews run; empty: the program's own copy,
    // looked up where the installs put it.
    std::string feedreaderFile;
    // The longest a preview's PHP may run before it is stopped.
    int previewTimeLimitMs = 30000;
};

// Folder of the running program, ending in "/": the files "beside the
// executable" are looked up there, never in the working directory.
std::string ProgramFolder();

// The config of a program in `baseDir`: the state folder of the system
// (XDG base directories, %LOCALAPPDATA%) and the package marker found there.
ProgramConfig MakeProgramConfig(const std::string& baseDir);

// Whether the program may replace files in its own folder: not a package
// install, and the folder takes new files.
bool ProgramFolderWritable(const ProgramConfig& config);

}  // namespace zolt
