#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "branding/BrandSettings.h"
#include "branding/UpdateSettings.h"
#include "net/HttpClient.h"
#include "update/UpdateDescription.h"
#include "util/MessageKind.h"
#include "util/ProgramConfig.h"
#include "util/Result.h"
#include "util/Services.h"

namespace zolt {

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
// What the update button says when the site could not be asked.
std::string CouldNotCheckMessage(const std::string& reason);
// What a copy without a key to check packages with says of a new version.
std::string NoUpdateKeyMessage(const std::string& versionText, const std::string& address);

// GETs the update description at `url` into memory: the text, nothing
// (logged) when the server or the network failed it, with the reason, or a
// failure when it was cut short by Disconnect() or by quitting: then the
// check stops. The old copy at `path` (none when empty) is removed first and
// the new one is kept there when the folder takes it, saved through a new
// file renamed over the name, so a link of that name is never written
// through. A failed download leaves no file behind.
struct UpdateInfoDownload {
    std::optional<std::string> text;
    std::string failure;  // why there is no text
};
Result<UpdateInfoDownload> DownloadUpdateInfo(HttpClient& http, const std::string& url,
                                              const std::string& path);

// What the update site says, as far as the program needs it.
struct UpdateFinding {
    enum class Kind { NoUpdate, CouldNotCheck, NewVersion, Aborted };
    Kind kind = Kind::NoUpdate;
    std::string version;  // as the file wrote it
    std::string reason;   // why it could not check
    std::string address;  // where the new version can be downloaded by hand
};

// Asks the site at `baseUrl` (network only; no questions).
UpdateFinding FindUpdate(HttpClient& http, const std::string& baseUrl, const std::string& infoPath);

// What the window has to do once the check has run.
enum class UpdateCheckResult {
    NoUpdate,        // nothing newer (or the site could not be asked)
    Declined,        // an update was offered and the user said no
    UpdaterMissing,  // the updater is not beside the executable
    NoUpdateKey,     // a newer version, but no key to check its package with
    PackageManaged,  // newer version announced, left to the package manager
    Aborted,         // the download was cut short: the program is closing
    CloseForUpdate,  // the updater was started: close the main window
};

// What the copy brings to the conversation besides the site's answer.
struct UpdateContext {
    bool silent = false;
    bool packageInstall = false;
    bool hasKey = false;
    bool updaterPresent = false;
};

// The conversation after a check, one box at a time: the window shows
// `step()`, hands back the answer, and asks again until the step is Done;
// the result then says what to do (start the updater and close, or nothing).
class UpdateConversation {
  public:
    struct Step {
        enum class Kind { Show, Done };
        Kind kind = Kind::Done;
        MessageKind box = MessageKind::Information;
        std::string text;
    };

    UpdateConversation(UpdateFinding finding, UpdateContext context);
    const Step& step() const { return step_; }
    // The answer to the box of step(): true for OK.
    void Answer(bool ok);
    UpdateCheckResult result() const { return result_; }

  private:
    void Show(MessageKind box, std::string text, int next);
    void Advance();

    UpdateFinding finding_;
    UpdateContext context_;
    Step step_;
    int stage_ = 0;
    UpdateCheckResult result_ = UpdateCheckResult::NoUpdate;
};

// The whole check for this copy (the brand's update site and key, else the
// maker's in `config`): asks the site, holds the conversation through `ask`
// (the window's message box) and starts the updater when the user agrees.
// `silent` suppresses only the "no new updates" and "could not check" boxes.
UpdateCheckResult CheckForUpdate(const ProgramConfig& config, const Services& services,
                                 const MessageAnswer& ask, HttpClient& http,
                                 const BrandSettingsRecord& brand, bool silent);

}  // namespace zolt
