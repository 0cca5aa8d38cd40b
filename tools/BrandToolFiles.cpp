#include "tools/BrandToolFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zolt {

std::optional<std::string> ReadToolInput(const std::string& path, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        error = "cannot read \"" + path + "\": " +
                (QFileInfo(file).isDir() ? std::string("it is a folder")
                                         : file.errorString().toStdString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = "cannot read \"" + path + "\": " + file.errorString().toStdString();
        return std::nullopt;
    }
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool WriteToolOutput(const std::string& path, const std::string& bytes, bool ownerOnly,
                     std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    const auto fail = [&] {
        error = "cannot write \"" + path + "\": " + file.errorString().toStdString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return fail();
    }
    if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        return fail();
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        return fail();
    }
    if (!file.commit()) {
        error = "cannot write \"" + path + "\": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace zolt
