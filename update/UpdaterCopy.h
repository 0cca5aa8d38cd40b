#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// The updater's own folder in the user's cache: its copies, its downloads
// and its log live there (never in a folder that other accounts may write,
// such as /tmp).
std::string UpdaterCacheFolder();

// Adds a line to the updater's log in UpdaterCacheFolder(), "updater.log",
// which keeps the last runs' outcomes for the user or a support desk to read.
void AppendUpdaterLog(const std::string& line);

// Copies the updater from `programFolder` into a new folder of its own in the
// user's cache folder, with what it runs on there (Windows: the
// libraries and plugin folders beside it), so that every file of the
// program's folder can be replaced while it runs; the copy's program path.
// Copies left by earlier runs are removed where they can be.
Result<std::string> CopyUpdaterOutside(const std::string& programFolder);

}  // namespace zolt
