#include "update/InstallPlan.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <memory>

#include "branding/BrandFiles.h"
#include "branding/BrandSettingsText.h"
#include "update/UpdateDescription.h"
#include "util/ProgramConfig.h"
#include "util/Text.h"
#include "util/UUtils.h"

namespace fs = std::filesystem;

namespace zolt {

namespace {

std::string Folded(const std::string& text) {
    return FromQString(ToQString(text).toCaseFolded());
}

// "RSSFeedZolt-2.02-win64" names version "2.02": the part before the last
// "-", digits with at most one point.
std::optional<std::string> VersionOfTopFolder(const std::string& folder) {
    const size_t last = folder.rfind('-');
    if (last == std::string::npos || last == 0) {
        return std::nullopt;
    }
    const size_t before = folder.rfind('-', last - 1);
    const std::string version =
        folder.substr(before == std::string::npos ? 0 : before + 1,
                      last - (before == std::string::npos ? 0 : before + 1));
    int points = 0;
    for (const char c : version) {
        points += c == '.';
        if ((c < '0' || c > '9') && c != '.') {
            return std::nullopt;
        }
    }
    if (version.empty() || points > 1 || version.front() == '.' || version.back() == '.') {
        return std::nullopt;
    }
    return version;
}

// Whether a name below `root` is a link or a junction, or leads through one.
bool ThroughLink(const std::string& root, const std::string& relative) {
    std::string path = root;
    size_t start = 0;
    while (start < relative.size()) {
        const size_t end = std::min(relative.find('/', start), relative.size());
        path +=
            (path.empty() || path.back() == '/' ? "" : "/") + relative.substr(start, end - start);
        const QFileInfo info(PathToQString(path));
        if (info.isSymLink() || info.isJunction()) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// The part of an entry's path below the package's top folder; `top` is set
// by the first entry.
Result<std::string> BelowTop(const std::string& path, std::string& top) {
    const size_t slash = path.find('/');
    const std::string first = path.substr(0, slash);
    if (top.empty()) {
        top = first;
    } else if (first != top) {
        return Fail("the package does not hold one top folder (\"" + top + "\" and \"" + first +
                    "\")");
    }
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

}  // namespace

const PackageLayout& ThisSystemLayout() {
#ifdef _WIN32
    static const PackageLayout layout{"", "rssfeedzolt.exe", "Updater.exe"};
#else
    static const PackageLayout layout{"bin/", "bin/rssfeedzolt", "bin/Updater"};
#endif
    return layout;
}

Result<std::string> InstallRootOf(const std::string& programFolder) {
    const std::string& inner = ThisSystemLayout().programFolder;
    if (programFolder.size() <= inner.size() ||
        programFolder.compare(programFolder.size() - inner.size(), inner.size(), inner) != 0 ||
        (!inner.empty() && programFolder[programFolder.size() - inner.size() - 1] != '/')) {
        return Fail("this copy does not stand in a portable folder (its program is not in " +
                    inner + "), so it cannot update itself");
    }
    return programFolder.substr(0, programFolder.size() - inner.size());
}

std::vector<std::string> BrandFileNames(const std::optional<std::string>& settingsText) {
    std::vector<std::string> names = {kSettingsFileName, kPlainSettingsFileName,
                                      kSkinFileName,     kIconFileName,
                                      kUpdateInfoFile,   kPackageMarkerFile};
    if (settingsText) {
        for (const std::string& banner : ParseBrandSettings(*settingsText).banners) {
            std::vector<std::string> fields;
            SplitByChar('^', banner, fields);
            if (!fields.empty() && !Trim(fields[0]).empty()) {
                names.push_back(Trim(fields[0]));
            }
        }
    }
    return names;
}

Result<InstallPlan> PlanInstall(const std::string& packagePath, PackageFormat format,
                                const std::string& root,
                                const std::vector<std::string>& brandFiles) {
    const PackageLayout& layout = ThisSystemLayout();
    std::vector<std::string> protectedNames;
    for (const std::string& name : brandFiles) {
        protectedNames.push_back(Folded(layout.programFolder + name));
    }
    InstallPlan plan;
    std::string top;
    bool hasProgram = false;
    const Status read =
        ReadPackage(packagePath, format, [&](const PackageEntry& entry) -> Result<EntrySink> {
            Result<std::string> below = BelowTop(entry.path, top);
            if (!below.ok()) {
                return Fail(below.error());
            }
            if (entry.directory || below->empty()) {
                return EntrySink();
            }
            const std::string folded = Folded(*below);
            const bool brandFile = [&] {
                for (const std::string& name : protectedNames) {
                    if (folded == name) {
                        return true;
                    }
                }
                // "banner" n ".dat" beside the program, whatever the settings name.
                const std::string inFolder = Folded(layout.programFolder);
                return folded.rfind(inFolder + "banner", 0) == 0 && folded.size() > 4 &&
                       folded.compare(folded.size() - 4, 4, ".dat") == 0 &&
                       folded.find('/', inFolder.size()) == std::string::npos;
            }();
            if (brandFile && folded != Folded(layout.program)) {
                plan.kept.push_back(*below);
                return EntrySink();
            }
            if (ThroughLink(root, *below)) {
                return Fail("the folder holds a link at \"" + *below +
                            "\"; the updater never writes through a link");
            }
            const QFileInfo existing(PathToQString(root + *below));
            if (existing.isDir()) {
                return Fail("the folder holds a folder where the package has the file \"" + *below +
                            "\"");
            }
            const PlannedFile file{*below, existing.exists(), entry.executable};
            if (folded == Folded(layout.program)) {
                hasProgram = true;
            } else {
                plan.files.push_back(file);
            }
            return EntrySink();
        });
    if (!read.ok()) {
        return Fail(read.error());
    }
    const std::optional<std::string> version = VersionOfTopFolder(top);
    if (!version) {
        return Fail("the package's top folder \"" + top + "\" names no version");
    }
    if (!hasProgram) {
        return Fail("the package holds no " + layout.program);
    }
    plan.version = *version;
    const QFileInfo program(PathToQString(root + layout.program));
    plan.files.push_back(PlannedFile{layout.program, program.exists(), true});
    return plan;
}

Status StagePackage(const std::string& packagePath, PackageFormat format, const InstallPlan& plan,
                    const fs::path& staging) {
    std::vector<std::string> wanted;
    for (const PlannedFile& f : plan.files) {
        wanted.push_back(Folded(f.path));
    }
    std::string top;
    std::shared_ptr<QFile> current;
    auto finish = [&]() -> Status {
        if (!current) {
            return {};
        }
        const bool flushed = current->flush();
        const std::string why = FromQString(current->errorString());
        current->close();
        current.reset();
        return flushed ? Status{} : Fail("cannot write the new files: " + why);
    };
    const Status read =
        ReadPackage(packagePath, format, [&](const PackageEntry& entry) -> Result<EntrySink> {
            if (Status done = finish(); !done.ok()) {
                return Fail(done.error());
            }
            Result<std::string> below = BelowTop(entry.path, top);
            if (!below.ok()) {
                return Fail(below.error());
            }
            if (entry.directory || below->empty() ||
                std::find(wanted.begin(), wanted.end(), Folded(*below)) == wanted.end()) {
                return EntrySink();
            }
            const fs::path target = staging / FsPath(*below);
            std::error_code error;
            fs::create_directories(target.parent_path(), error);
            const std::u8string name = target.u8string();
            current = std::make_shared<QFile>(QString::fromUtf8(
                reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size())));
            if (error || !current->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                return Fail("cannot write the new file " + *below + ": " +
                            (error ? error.message() : FromQString(current->errorString())));
            }
            current->setPermissions(
                entry.executable
                    ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther
                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            std::shared_ptr<QFile> file = current;
            return EntrySink([file, path = *below](std::string_view piece) -> Status {
                const auto size = static_cast<qint64>(piece.size());
                if (file->write(piece.data(), size) != size) {
                    return Fail("cannot write the new file " + path + ": " +
                                FromQString(file->errorString()));
                }
                return {};
            });
        });
    const Status closed = finish();
    return read.ok() ? closed : read;
}

std::vector<SwapFile> SwapListOf(const InstallPlan& plan) {
    std::vector<SwapFile> files;
    for (const PlannedFile& f : plan.files) {
        files.push_back(SwapFile{f.path, f.replaces});
    }
    return files;
}

}  // namespace zolt
