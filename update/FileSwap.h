#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "util/Result.h"

namespace zolt {

// The updater's work folder inside the folder it updates: "new/" holds the
// staged files, "old/" the replaced ones, "journal" the list of the swap,
// "committed" marks a swap that is complete. Nothing of it stays after a
// finished or undone update.
inline constexpr const char* kUpdateWorkFolder = ".update";

// One file of the swap, relative to the folder ("/" between folders).
struct SwapFile {
    std::string path;
    bool replaces = false;  // an older copy is in the folder
};

// The file operations of a swap, so that a test can make one of them fail
// or stop the process in the middle. Each says why when it fails.
struct SwapFileOps {
    // Renames `from` over `to` in one step.
    std::function<Status(const std::filesystem::path& from, const std::filesystem::path& to)>
        rename;
    // Keeps the file `from` under the new name `to` without touching `from`.
    std::function<Status(const std::filesystem::path& from, const std::filesystem::path& to)> keep;
};
SwapFileOps RealSwapFileOps();

// A path from the UTF-8 bytes the program keeps, whatever the system's code
// page.
std::filesystem::path FsPath(const std::string& utf8);

// Whether this account can make new files in `folder`: tried with a probe
// file, since access rules and read-only mounts are known only by trying.
bool FolderTakesNewFiles(const std::string& folder);

// The empty folder that the new files are unpacked into; a leftover of an
// earlier run is removed first (after RecoverInterruptedUpdate).
Result<std::filesystem::path> PrepareStaging(const std::string& root);
// Removes the work folder of a run that changed nothing.
void DiscardStaging(const std::string& root);

// Swaps the staged files into `root` in the order given (the program last):
// each replaced file is kept in "old/" before the new one is renamed over
// it, so that at every moment every name holds a whole file. When any step
// fails, every swap made so far is undone and the folder is as it was; the
// failure says which file could not be replaced and why.
Status SwapInStagedFiles(const std::string& root, const std::vector<SwapFile>& files,
                         const SwapFileOps& ops = RealSwapFileOps());

enum class Recovery {
    Nothing,     // no update had been under way
    Cleared,     // an update had only staged its files: they are gone
    RolledBack,  // an update stopped in the middle: the old version is back
    Completed,   // an update stopped after its last swap: the new version stays
};

// What the next start does after an updater that was killed, or a machine
// that went down, in the middle of a swap: the folder becomes the old
// version or the new one, complete, and the work folder goes.
Result<Recovery> RecoverInterruptedUpdate(const std::string& root,
                                          const SwapFileOps& ops = RealSwapFileOps());

}  // namespace zolt
