#pragma once

#include <string>

namespace zolt {

class GuardedApplication;

// The whole program after the application object exists: the services for
// `baseDir` (the folder holding the brand files, ending in "/"), the error
// reporter, the built-in skin and the main window, up to the end of the
// event loop. Returns the event loop's exit code.
int RunProgram(GuardedApplication& app, const std::string& baseDir);

}  // namespace zolt
