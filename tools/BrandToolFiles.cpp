#include "tools/BrandToolFiles.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <iostream>
#include <iterator>
#include <system_error>

#include <sys/stat.h>

#include "util/SafeSave.h"
#include "util/Text.h"

namespace zolt {

Result<std::string> ReadToolInput(const std::string& path) {
    QFile file(PathToQString(path));
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        return Fail("cannot read \"" + path + "\": " +
                    (QFileInfo(file).isDir() ? std::string("it is a folder")
                                             : FromQString(file.errorString())));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Fail("cannot read \"" + path + "\": " + FromQString(file.errorString()));
    }
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

unsigned ToolOutputMode(bool ownerOnly) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ownerOnly ? 0600 : 0666 & ~mask;
}

Status WriteToolOutput(const std::string& path, const std::string& bytes, bool ownerOnly) {
    // A name in a shared folder may be a link planted there: it is replaced
    // by the new file, its target is never written.
    return SaveFileReplacing(path, bytes, ToolOutputMode(ownerOnly));
}

Result<std::string> ReadPassword(const std::string& source) {
    std::string password;
    if (source == "-") {
        password.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        const Result<std::string> read = ReadToolInput(source);
        if (!read.ok()) {
            return read;
        }
        password = *read;
    }
    for (const char* end : {"\r\n", "\n"}) {
        if (password.size() >= std::strlen(end) &&
            password.compare(password.size() - std::strlen(end), std::string::npos, end) == 0) {
            password.resize(password.size() - std::strlen(end));
            break;
        }
    }
    return password;
}

bool NameIsTaken(const std::string& path) {
    // The link itself, not its target: a link pointing nowhere takes the name too.
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    return status.type() != std::filesystem::file_type::not_found &&
           status.type() != std::filesystem::file_type::none;
}

}  // namespace zolt
