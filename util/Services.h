#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "util/MakerUpdateSite.h"

namespace zolt {

// The file that the Debian package puts into the program folder: its
// presence says that the system's package manager owns that folder and
// brings the updates.
inline constexpr const char* kPackageMarkerFile = "installed-by-package";

enum class MessageKind {
    Warning,      // OK
    Information,  // OK
    Question,     // information with OK and Cancel
};

// Everything that touches the world outside the process. main() fills it with
// the real services (MakeSystemServices plus the skinned message box); tests
// fill it with recorders and scripted answers.
struct Services {
    // Folder of the files "beside the executable".
    std::string baseDir;
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
    // This user's folder for what the program keeps between runs when it
    // may not write its own folder ("$XDG_STATE_HOME/rssfeedzolt/"; on
    // Windows "%LOCALAPPDATA%/RSSFeedZolt/"; ending in "/"); empty: nothing
    // is kept.
    std::string stateDir;
    // Installed by the system's package manager (kPackageMarkerFile in
    // baseDir): the program folder is never written and updates come from
    // the package manager.
    bool packageInstall = false;

    // Shows a modal message box; true for OK, false for Cancel.
    std::function<bool(MessageKind kind, const std::string& text)> showMessage;
    // Starts a program detached from this process; false when it did not start.
    std::function<bool(const std::string& program, const std::vector<std::string>& args)>
        startDetached;
    // The user's default browser program where the system registers one
    // (Windows); unset: x-www-browser, else xdg-open, found on PATH.
    std::function<std::string()> browserProgram;
    // Shows `folder` in the system's file manager; false when none started.
    std::function<bool(const std::string& folder)> openFolder;
    // Opens a checked web address with the system's own handler for it (the
    // Windows shell), for when the registered command names no browser
    // program; false when it did not open. Unset where there is none.
    std::function<bool(const std::string& address)> openAddress;
    // Full path of a program found on PATH, empty when there is none.
    std::function<std::string(const std::string& name)> findProgram;
    // Reseeds the random draws from the clock.
    std::function<void()> randomize;
    // A random integer in [0, n); n > 0.
    std::function<int(int n)> random;
    // Milliseconds of a monotonic clock.
    std::function<std::uint64_t()> tickCount;
};

// Folder of the running program, ending in "/": the files "beside the
// executable" are looked up there, never in the working directory.
std::string ProgramFolder();

// The real process, PATH, clock and random services with `baseDir`, the
// state folder of the XDG base directories and the package marker found in
// `baseDir`. The message box is left empty: it needs widgets and is added by
// the program.
Services MakeSystemServices(const std::string& baseDir);

// Whether the program may replace files in its own folder: not a package
// install, and the folder takes new files.
bool ProgramFolderWritable(const Services& services);

}  // namespace zolt
