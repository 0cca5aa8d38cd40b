#include "tools/PackageStage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <string>

#include <unistd.h>

#include "tools/BrandToolFiles.h"
#include "util/Text.h"

namespace zolt {

namespace {

std::string Quoted(const QString& path) {
    return "\"" + PathFromQString(path) + "\"";
}

}  // namespace

void PackageStage::Refuse(const std::string& why) {
    if (status_.ok()) {
        status_ = Fail(why);
    }
}

void PackageStage::Write(const QString& relative, const QByteArray& bytes) {
    if (!status_.ok()) {
        return;
    }
    QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
    QFile file(Path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        Refuse("cannot write " + Quoted(file.fileName()));
    }
}

void PackageStage::Copy(const QString& from, const QString& relative) {
    if (!status_.ok()) {
        return;
    }
    const QFileInfo source(from);
    if (source.isSymLink() || !source.isFile()) {
        Refuse(Quoted(from) + " is missing or not a regular file");
        return;
    }
    const Result<std::string> bytes = ReadToolInput(PathFromQString(from));
    if (!bytes.ok()) {
        Refuse(bytes.error());
        return;
    }
    Write(relative, QByteArray::fromStdString(*bytes));
}

void PackageStage::Link(const QString& target, const QString& relative) {
    if (!status_.ok()) {
        return;
    }
    QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
#ifdef _WIN32
    // A Debian package's links are made where dpkg-deb runs; Windows makes
    // only shortcuts.
    static_cast<void>(target);
    Refuse("cannot make the link " + Quoted(Path(relative)) +
           " on Windows: " + "make the Debian package on Linux");
#else
    if (::symlink(QFile::encodeName(target).constData(),
                  QFile::encodeName(Path(relative)).constData()) != 0) {
        Refuse("cannot make the link " + Quoted(Path(relative)));
    }
#endif
}

std::pair<qint64, QByteArray> PackageStage::Finish(const QString& program) {
    if (!status_.ok()) {
        return {};
    }
    const auto rw = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto x = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(root_, rw | x);
    qint64 kib = 0;
    QByteArray sums;
    QDirIterator it(root_, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString relative = QDir(root_).relativeFilePath(info.filePath());
        if (info.isSymLink() || info.isDir()) {
            if (info.isDir()) {
                QFile::setPermissions(info.filePath(), rw | x);
            }
            ++kib;
            continue;
        }
        QFile::setPermissions(info.filePath(), relative == program ? rw | x : rw);
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            Refuse("cannot read " + Quoted(info.filePath()));
            return {};
        }
        sums += QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex() + "  " +
                relative.toUtf8() + "\n";
        kib += (info.size() + 1023) / 1024;
    }
    return {kib, sums};
}

}  // namespace zolt
