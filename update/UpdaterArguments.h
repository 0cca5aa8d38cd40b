#pragma once

#include <string>
#include <vector>

#include "util/Result.h"

namespace zolt {

// The updater's command line. The program starts it with the update site's
// folder, its own version and the letter "A"; the updater adds the rest when
// it starts its copy outside the program's folder or asks for more rights.
struct UpdaterArguments {
    std::string baseUrl;
    std::string runningVersion;
    std::string folder;        // the program's folder; empty: the updater's own
    bool elevated = false;     // started with an administrator's rights
    bool recoverOnly = false;  // only finish or undo an interrupted update
};

Result<UpdaterArguments> ParseUpdaterArguments(const std::vector<std::string>& args);
std::vector<std::string> UpdaterArgumentList(const UpdaterArguments& arguments);

}  // namespace zolt
