#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "net/HttpClient.h"
#include "util/Result.h"
#include "util/Services.h"

namespace zolt {

inline constexpr const char* kUpdateInfoFile = "mainappupdate.inf";
#ifdef _WIN32
inline constexpr const char* kUpdaterProgram = "Updater.exe";
#else
inline constexpr const char* kUpdaterProgram = "Updater";
#endif
// An update description is a few lines; anything bigger is not one.
inline constexpr std::int64_t kMaxUpdateFileSize = 1024 * 1024;

inline constexpr const char* kNoUpdateMessage = "There's no new updates for this application!";
inline constexpr const char* kUpdaterMissingMessage =
    "The updater module is missing. Please reinstall again the current version!";
inline constexpr const char* kUpdateCloseQuestion =
    "To update your software the application will close to\n\rreplace some files. Do you want "
    "to update now?";

// The question offering the update, with the version as the file wrote it.
std::string NewUpdateQuestion(const std::string& versionText);
// What a package install says instead: there is no updater beside it, the
// system's package manager brings the new version.
std::string PackageUpdateMessage(const std::string& versionText);

// A version text as a number with "." as the decimal point, whatever the
// locale; anything that is not a plain decimal number reads as 0.
float VersionNumber(const std::string& text);
// Whether `versionText` is strictly newer than this program's version.
bool IsNewerVersion(const std::string& versionText);

// GETs the update description at `url` into memory; nothing (logged) when
// the server or the network failed it, and a failure, with the reason, when
// it was cut short by Disconnect() or by quitting: then the check stops. The
// old copy at `path` (none when empty) is removed first and the new one is
// kept there when the folder takes it, saved through a new file renamed over
// the name, so a link of that name is never written through. A failed
// download leaves no file behind.
Result<std::optional<std::string>> DownloadUpdateInfo(HttpClient& http, const std::string& url,
                                                      const std::string& path);

// What the window has to do once the check has run.
enum class UpdateCheckResult {
    NoUpdate,        // nothing newer (or the download failed)
    Declined,        // an update was offered and the user said no
    UpdaterMissing,  // the updater is not beside the executable
    PackageManaged,  // newer version announced, left to the package manager
    Aborted,         // the download was cut short: the program is closing
    CloseForUpdate,  // the updater was started: close the main window
};

// Looks for a newer version on the live-update site and, when the user
// agrees, starts the updater; a package install only tells that a newer
// version is available. `silent` suppresses only the "no new updates" box.
UpdateCheckResult CheckForUpdate(const Services& services, HttpClient& http, bool silent);

}  // namespace zolt
