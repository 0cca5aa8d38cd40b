#include "update/FileSwap.h"

#include <QTemporaryFile>

#include <algorithm>
#include <system_error>

#include "util/Files.h"
#include "util/Logging.h"
#include "util/SafeSave.h"
#include "util/Text.h"

namespace fs = std::filesystem;

namespace zolt {

namespace {

constexpr const char* kJournalHeader = "update journal 1";

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

Status Failed(const std::string& what, const fs::path& path, const std::error_code& error) {
    return Fail(what + " " + Utf8(path) + ": " + error.message());
}

fs::path Work(const std::string& root) {
    return FsPath(root) / kUpdateWorkFolder;
}

fs::path Under(const fs::path& folder, const std::string& relative) {
    return folder / FsPath(relative);
}

Status MakeParent(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return error ? Failed("cannot make the folder", path.parent_path(), error) : Status{};
}

std::string JournalText(const std::vector<SwapFile>& files) {
    std::string text = std::string(kJournalHeader) + "\n";
    for (const SwapFile& f : files) {
        text += (f.replaces ? "R " : "A ") + f.path + "\n";
    }
    return text;
}

Result<std::vector<SwapFile>> ParseJournal(const std::string& text) {
    std::vector<SwapFile> files;
    size_t at = text.find('\n');
    if (text.substr(0, at) != kJournalHeader) {
        return Fail("the update journal is not one this program wrote");
    }
    while (at != std::string::npos && at + 1 < text.size()) {
        const size_t end = text.find('\n', at + 1);
        const std::string line = text.substr(at + 1, end - at - 1);
        at = end;
        if (line.size() < 3 || (line[0] != 'R' && line[0] != 'A') || line[1] != ' ' ||
            line.find("..") != std::string::npos || line[2] == '/') {
            return Fail("the update journal is damaged");
        }
        files.push_back(SwapFile{line.substr(2), line[0] == 'R'});
    }
    return files;
}

// Puts the file `from` at `to` even when `to` is held open: a running
// program's file can be renamed aside where it cannot be replaced.
Status ForceRename(const fs::path& from, const fs::path& to, const fs::path& trash,
                   const SwapFileOps& ops) {
    Status direct = ops.rename(from, to);
    if (direct.ok()) {
        return direct;
    }
    static int asideCount = 0;
    std::error_code error;
    fs::create_directories(trash, error);
    const fs::path aside = trash / FsPath(Utf8(to.filename()) + "." + std::to_string(++asideCount));
    if (!ops.rename(to, aside).ok()) {
        return direct;
    }
    return ops.rename(from, to);
}

void RemoveEmptyParents(fs::path path, const fs::path& root) {
    std::error_code error;
    for (path = path.parent_path(); path != root && path.has_relative_path();
         path = path.parent_path()) {
        if (!fs::is_empty(path, error) || error || !fs::remove(path, error)) {
            return;
        }
    }
}

// Undoes the swaps of `files` that took place, newest first.
Status RollBack(const std::string& root, const std::vector<SwapFile>& files,
                const SwapFileOps& ops) {
    const fs::path base = FsPath(root);
    const fs::path work = Work(root);
    Status result;
    for (auto f = files.rbegin(); f != files.rend(); ++f) {
        const fs::path target = Under(base, f->path);
        const fs::path kept = Under(work / "old", f->path);
        const fs::path staged = Under(work / "new", f->path);
        std::error_code error;
        if (f->replaces && fs::exists(fs::symlink_status(kept, error))) {
            if (Status back = ForceRename(kept, target, work / "trash", ops); !back.ok()) {
                result = back;
            }
        } else if (!f->replaces && !fs::exists(fs::symlink_status(staged, error)) &&
                   fs::exists(fs::symlink_status(target, error))) {
            if (!fs::remove(target, error)) {
                result = Failed("cannot remove the added file", target, error);
            }
            RemoveEmptyParents(target, base);
        }
    }
    return result;
}

}  // namespace

fs::path FsPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool FolderTakesNewFiles(const std::string& folder) {
    QTemporaryFile probe(PathToQString(folder) + "/.write-probe-XXXXXX");
    return probe.open();
}

SwapFileOps RealSwapFileOps() {
    SwapFileOps ops;
    ops.rename = [](const fs::path& from, const fs::path& to) -> Status {
        std::error_code error;
        fs::rename(from, to, error);
        return error ? Failed("cannot replace", to, error) : Status{};
    };
    ops.keep = [](const fs::path& from, const fs::path& to) -> Status {
        // A second name costs no space; a copy where the file system has
        // no links (a FAT stick holding a portable folder).
        std::error_code error;
        fs::create_hard_link(from, to, error);
        if (error) {
            // Copied under another name first: a copy cut short must never
            // stand as the kept file that an undo would put back.
            error.clear();
            fs::path part = to;
            part += ".part";
            fs::copy_file(from, part, fs::copy_options::overwrite_existing, error);
            if (!error) {
                fs::rename(part, to, error);
            }
        }
        return error ? Failed("cannot keep a copy of", from, error) : Status{};
    };
    return ops;
}

Result<fs::path> PrepareStaging(const std::string& root) {
    const fs::path work = Work(root);
    std::error_code error;
    fs::remove_all(work, error);
    if (error) {
        return Fail("cannot clear the folder " + Utf8(work) + ": " + error.message());
    }
    fs::create_directories(work / "new", error);
    if (error) {
        return Fail("cannot make the folder " + Utf8(work) + ": " + error.message());
    }
    return work / "new";
}

void DiscardStaging(const std::string& root) {
    std::error_code error;
    fs::remove_all(Work(root), error);
    if (error) {
        qCWarning(lcUpdate) << "the update's work folder stays behind:" << error.message().c_str();
    }
}

Status SwapInStagedFiles(const std::string& root, const std::vector<SwapFile>& files,
                         const SwapFileOps& ops) {
    const fs::path base = FsPath(root);
    const fs::path work = Work(root);
    if (!SaveFileReplacing(Utf8(work / "journal"), JournalText(files))) {
        return Fail("cannot write the update journal in " + Utf8(work));
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const SwapFile& f = files[i];
        const fs::path target = Under(base, f.path);
        Status step = MakeParent(target);
        if (step.ok() && f.replaces) {
            const fs::path kept = Under(work / "old", f.path);
            step = MakeParent(kept);
            step = step.ok() ? ops.keep(target, kept) : step;
        }
        step = step.ok() ? ops.rename(Under(work / "new", f.path), target) : step;
        if (!step.ok()) {
            qCWarning(lcUpdate) << "swap failed, undoing it:" << step.error().c_str();
            const std::vector<SwapFile> done(files.begin(),
                                             files.begin() + static_cast<long>(i) + 1);
            if (Status undone = RollBack(root, done, ops); !undone.ok()) {
                return Fail(step.error() + "; undoing the update failed too (" + undone.error() +
                            "): the next start tries again");
            }
            DiscardStaging(root);
            return step;
        }
    }
    // From here on the new version stands, even if the clean-up is cut short.
    if (!SaveFileReplacing(Utf8(work / "committed"), "")) {
        qCWarning(lcUpdate) << "the update's end could not be marked; it is complete";
    }
    DiscardStaging(root);
    return {};
}

Result<Recovery> RecoverInterruptedUpdate(const std::string& root, const SwapFileOps& ops) {
    const fs::path work = Work(root);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(work, error))) {
        return Recovery::Nothing;
    }
    if (fs::is_symlink(fs::symlink_status(work, error))) {
        fs::remove(work, error);
        return Recovery::Cleared;
    }
    if (fs::exists(work / "committed", error)) {
        DiscardStaging(root);
        return Recovery::Completed;
    }
    const std::optional<std::string> journal = ReadWholeFile(Utf8(work / "journal"));
    if (!journal) {
        // Only staged, nothing swapped yet.
        DiscardStaging(root);
        return Recovery::Cleared;
    }
    Result<std::vector<SwapFile>> files = ParseJournal(*journal);
    if (!files.ok()) {
        return Fail(files.error() + " (" + Utf8(work) + ")");
    }
    if (Status undone = RollBack(root, *files, ops); !undone.ok()) {
        return Fail(undone.error());
    }
    DiscardStaging(root);
    return Recovery::RolledBack;
}

}  // namespace zolt
