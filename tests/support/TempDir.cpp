#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <stdexcept>

namespace zolt::test {

TempDir::TempDir() {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

std::string TempDir::path() const {
    return dir_.path().toStdString();
}

std::string TempDir::file(const std::string& name) const {
    return path() + "/" + name;
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    WriteFileBytes(file(name), bytes);
}

std::string TempDir::read(const std::string& name) const {
    return ReadFileBytes(file(name));
}

bool TempDir::exists(const std::string& name) const {
    return QFileInfo::exists(QString::fromStdString(file(name)));
}

std::string ReadFileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path);
    }
    const QByteArray data = f.readAll();
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot write " + path);
    }
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string SourceDir() {
    const char* dir = std::getenv("ZOLT_SOURCE_DIR");
    return dir != nullptr ? dir : ".";
}

}  // namespace zolt::test
