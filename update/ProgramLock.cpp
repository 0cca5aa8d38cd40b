#include "update/ProgramLock.h"
#include "util/Text.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace zolt {

namespace {

// One name per folder, whatever way the folder is written.
QString LockPath(const std::string& programFolder) {
    QString program = QFileInfo(PathToQString(programFolder)).canonicalFilePath();
    if (program.isEmpty()) {
        program = QDir::cleanPath(PathToQString(programFolder));
    }
#ifdef _WIN32
    program = program.toCaseFolded();
#endif
    const QByteArray digest =
        QCryptographicHash::hash(program.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    // A folder of this user's alone: in a shared /tmp another account could
    // hold the name first.
#ifdef _WIN32
    const QString folder = QDir::tempPath();
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    return folder + "/program-" + QString::fromLatin1(digest) + ".lock";
}

}  // namespace

ProgramLock::ProgramLock(const std::string& programFolder)
    : lock_(std::make_unique<QLockFile>(LockPath(programFolder))) {
    // Only a lock whose holder is gone is stale, however old it is.
    lock_->setStaleLockTime(0);
}

ProgramLock::~ProgramLock() = default;

bool ProgramLock::TryLock(int milliseconds) {
    return lock_->isLocked() || lock_->tryLock(milliseconds);
}

void ProgramLock::Unlock() {
    lock_->unlock();
}

bool ProgramLock::held() const {
    return lock_->isLocked();
}

}  // namespace zolt
