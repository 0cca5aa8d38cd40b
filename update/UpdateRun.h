#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "update/UpdaterArguments.h"

namespace zolt {

class HttpClient;

// How an updater's run ended, and the sentence that says so.
struct UpdateOutcome {
    enum class Kind {
        Installed,       // the new version is in the folder
        Recovered,       // an interrupted update was finished or undone
        Refused,         // nothing changed, `sentence` says why
        Cancelled,       // the user stopped it; nothing changed
        NeedsElevation,  // only an administrator may change the folder
    };
    Kind kind = Kind::Refused;
    std::string sentence;
};

// One run of the updater, from waiting for the program to close to the
// swap of its files; the window shows what it reports and asks what it
// must ask. Nothing in the program's folder changes before the package has
// passed every check.
class UpdateRun {
  public:
    struct Events {
        std::function<void(const std::string& doing)> status;
        std::function<void(std::int64_t received, std::int64_t total)> progress;
        // Whether Cancel may still stop the run: not once the swap began.
        std::function<void(bool)> cancellable;
    };

    // `makerPublicKey`: the base64 key built into the program, for copies
    // whose brand names none.
    UpdateRun(UpdaterArguments arguments, HttpClient& http, std::string makerPublicKey,
              Events events);

    UpdateOutcome Run();
    // Stops the run at its next step; a download under way ends at once.
    void Cancel();

    // Known once Run() has read the folder: the program to start again, and
    // the name the brand gives it.
    const std::string& programPath() const { return programPath_; }
    const std::string& productName() const { return productName_; }

  private:
    UpdateOutcome Install(const std::string& root, const std::string& settingsText);
    bool WaitForProgram(class ProgramLock& lock);

    UpdaterArguments arguments_;
    HttpClient& http_;
    std::string makerPublicKey_;
    Events events_;
    bool cancelled_ = false;
    std::string programPath_;
    std::string productName_;
};

}  // namespace zolt
