#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "util/MessageKind.h"
#include "util/ProgramConfig.h"

namespace zolt {

// Everything that touches the world outside the process: processes, PATH,
// the browser, the clock and random draws. main() fills it with the real
// services (MakeSystemServices); tests fill it with recorders and scripted
// answers. What the program is configured with is a ProgramConfig of its
// own, and message boxes belong to the windows (msgMain).
struct Services {
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

    // For the update check, the start-up recovery of an update and the
    // updater alone, until they take their ProgramConfig and hand their
    // questions to the window: copies of the config values they read and the
    // window's message box (ServicesWithConfig fills them). Nothing else
    // reads these.
    std::string baseDir;
    std::string updateBaseUrl;
    std::string updatePublicKey;
    bool packageInstall = false;
    MessageAnswer showMessage;
};

// The real process, PATH, browser, clock and random services.
Services MakeSystemServices();

// `services` with the copies above filled from `config` and `showMessage`.
inline Services ServicesWithConfig(Services services, const ProgramConfig& config,
                                   MessageAnswer showMessage) {
    services.baseDir = config.baseDir;
    services.updateBaseUrl = config.updateBaseUrl;
    services.updatePublicKey = config.updatePublicKey;
    services.packageInstall = config.packageInstall;
    services.showMessage = std::move(showMessage);
    return services;
}

// The system services with the copies filled from MakeProgramConfig(baseDir),
// for the updater alone.
inline Services MakeSystemServices(const std::string& baseDir) {
    return ServicesWithConfig(MakeSystemServices(), MakeProgramConfig(baseDir), {});
}

// ProgramFolderWritable of the copies above, for the update check alone.
inline bool ProgramFolderWritable(const Services& services) {
    ProgramConfig config;
    config.baseDir = services.baseDir;
    config.packageInstall = services.packageInstall;
    return ProgramFolderWritable(config);
}

}  // namespace zolt
