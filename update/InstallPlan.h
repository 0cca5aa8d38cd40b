#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "update/FileSwap.h"
#include "update/PackageArchive.h"
#include "util/Result.h"

namespace zolt {

// Where the program's own files lie in a package, below its one top folder,
// and so in the folder that the package updates: the Windows folder holds
// them at its top, the portable Linux folder in bin/.
struct PackageLayout {
    std::string programFolder;  // "" or "bin/"
    std::string program;        // the main program, swapped in last
    std::string updater;
};
const PackageLayout& ThisSystemLayout();

// The folder that a package unpacks into, from the program's own folder
// (ending in "/"); a program that does not stand where the layout puts it
// (a system package, a build tree) is not one the updater can update.
Result<std::string> InstallRootOf(const std::string& programFolder);

// The brand's files beside the program, which an update never replaces:
// the settings file and its plain copy, the skin, the icon, the update
// description, the package marker, "banner*.dat" and every banner the
// settings text (when there is one) names.
std::vector<std::string> BrandFileNames(const std::optional<std::string>& settingsText);

struct PlannedFile {
    std::string path;  // below the root, "/" between folders
    bool replaces = false;
    bool executable = false;
};

struct InstallPlan {
    std::string version;             // as the package's top folder names it
    std::vector<PlannedFile> files;  // the main program last
    std::vector<std::string> kept;   // brand files the package holds, left alone
};

// Reads the whole package once (every entry checked, see ReadPackage) and
// decides what it installs into `root`: every file but the brand's. Refused,
// with the reason: a package without one top folder "NAME-VERSION-SYSTEM",
// without the main program, or whose files would be written through a link
// or over a folder in `root`.
Result<InstallPlan> PlanInstall(const std::string& packagePath, PackageFormat format,
                                const std::string& root,
                                const std::vector<std::string>& brandFiles);

// Unpacks the planned files into `staging`; nothing outside it is written.
Status StagePackage(const std::string& packagePath, PackageFormat format, const InstallPlan& plan,
                    const std::filesystem::path& staging);

std::vector<SwapFile> SwapListOf(const InstallPlan& plan);

}  // namespace zolt
