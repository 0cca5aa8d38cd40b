#include "util/SafeSave.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "util/Text.h"

namespace zolt {

namespace {

// `mode`: the new file's permission bits; negative: those of the regular
// file it replaces, or the temporary file's owner-only ones.
Status Save(const std::string& path, const std::string& bytes, long mode) {
    const QFileInfo target(PathToQString(path));
    QTemporaryFile file(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (!file.open()) {
        return CannotWrite(path, FromQString(file.errorString()));
    }
    struct stat existing {};
    if (mode >= 0) {
        ::fchmod(file.handle(), static_cast<mode_t>(mode) & 07777);
    } else if (::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(file.handle(), existing.st_mode & 07777);
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        return CannotWrite(path, FromQString(file.errorString()));
    }
    // rename() replaces the name itself, a link included, in one step.
    if (::fsync(file.handle()) != 0 ||
        std::rename(QFile::encodeName(file.fileName()).constData(), path.c_str()) != 0) {
        return CannotWrite(path, std::strerror(errno));
    }
    file.setAutoRemove(false);
    return {};
}

}  // namespace

Status SaveFileReplacing(const std::string& path, const std::string& bytes) {
    return Save(path, bytes, -1);
}

Status SaveFileReplacing(const std::string& path, const std::string& bytes, unsigned mode) {
    return Save(path, bytes, static_cast<long>(mode & 07777));
}

bool RemoveFileName(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

}  // namespace zolt
