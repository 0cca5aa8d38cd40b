#include "update/UpdaterCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "update/InstallPlan.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

// Every copy lives in the updater's cache folder, and clearing old copies
// touches nothing else.
QString CopiesFolder() {
    return PathToQString(UpdaterCacheFolder());
}

constexpr qint64 kMaxLogSize = 64 * 1024;

Status CopyFile(const QString& from, const QString& to) {
    if (!QFile::copy(from, to)) {
        return Fail("cannot copy " + FromQString(from) + " to " + FromQString(to));
    }
    return {};
}

void RemoveEarlierCopies(const QString& keep) {
    const QDir copies(CopiesFolder());
    for (const QFileInfo& old : copies.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (old.absoluteFilePath() != keep && !old.isSymLink()) {
            // A copy that still runs (Windows keeps its files) stays.
            QDir(old.absoluteFilePath()).removeRecursively();
        }
    }
}

}  // namespace

std::string UpdaterCacheFolder() {
    return PathFromQString(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           "/program-updater");
}

void AppendUpdaterLog(const std::string& line) {
    QDir().mkpath(CopiesFolder());
    QFile log(CopiesFolder() + "/updater.log");
    // A log that has grown starts again rather than growing without end.
    const QIODevice::OpenMode mode =
        log.size() > kMaxLogSize ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append;
    if (QFileInfo(log).isSymLink() || !log.open(mode | QIODevice::Text)) {
        return;
    }
    const QByteArray stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
    log.write(stamp + " " + QByteArray::fromStdString(line) + "\n");
}

Result<std::string> CopyUpdaterOutside(const std::string& programFolder) {
    const QFileInfo parent(CopiesFolder());
    if (parent.isSymLink() || (parent.exists() && !parent.isDir()) ||
        !QDir().mkpath(CopiesFolder())) {
        return Fail("cannot make the folder " + FromQString(CopiesFolder()) + " for the updater");
    }
    QTemporaryDir copy(CopiesFolder() + "/XXXXXX");
    if (!copy.isValid()) {
        return Fail("cannot make a folder for the updater in " + FromQString(CopiesFolder()) +
                    ": " + FromQString(copy.errorString()));
    }
    const QDir source(PathToQString(programFolder));
    const QString updater = QFileInfo(PathToQString(ThisSystemLayout().updater)).fileName();
    QStringList names{updater};
#ifdef _WIN32
    // The updater runs on the libraries beside it and on Qt's plugins.
    names += source.entryList({"*.dll"}, QDir::Files);
    for (const char* folder : {"platforms", "styles", "tls", "imageformats"}) {
        const QDir plugins(source.filePath(folder));
        for (const QString& dll : plugins.entryList({"*.dll"}, QDir::Files)) {
            names += QString(folder) + "/" + dll;
        }
    }
#endif
    for (const QString& name : names) {
        QDir(copy.path()).mkpath(QFileInfo(name).path());
        if (Status copied = CopyFile(source.filePath(name), copy.filePath(name)); !copied.ok()) {
            return Fail(copied.error());
        }
    }
    QFile::setPermissions(copy.filePath(updater),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    copy.setAutoRemove(false);
    RemoveEarlierCopies(copy.path());
    qCInfo(lcUpdate) << "the updater runs from" << copy.path();
    return FromQString(copy.filePath(updater));
}

}  // namespace zolt
