#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
};

// The real process, PATH, browser, clock and random services.
Services MakeSystemServices();

}  // namespace zolt
