#include "news/UserState.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include <QDir>

#include "util/Files.h"
#include "util/SafeSave.h"
#include "util/Text.h"

namespace zolt {

namespace {

bool IsPlainNameByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// Every folder on `path`, owner only where one is made (as the XDG base
// directories ask).
Status MakeFolders(const std::string& path) {
#ifdef _WIN32
    // A Windows folder takes its rights from the folder it is made in.
    if (!QDir().mkpath(PathToQString(path))) {
        return Fail("cannot make the folder \"" + path + "\"");
    }
#else
    for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return Fail("cannot make the folder \"" + folder + "\": " + std::strerror(errno));
        }
    }
#endif
    return {};
}

}  // namespace

std::optional<std::string> StateFileName(std::string_view branderCode) {
    if (branderCode.empty() || branderCode.size() > kMaxStateNameBytes) {
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (const char c : branderCode) {
        if (IsPlainNameByte(c)) {
            name += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            name += '%';
            name += kHex[byte >> 4];
            name += kHex[byte & 0x0F];
        }
    }
    return name;
}

std::optional<std::string> ReadStateFile(const std::string& stateDir, const std::string& name) {
    if (stateDir.empty()) {
        return std::nullopt;
    }
    return ReadWholeFile(FileBeside(stateDir, name), kMaxStateFileSize);
}

Status WriteStateFile(const std::string& stateDir, const std::string& name,
                      const std::string& bytes) {
    if (stateDir.empty()) {
        return Fail("this system names no folder for the user's state");
    }
    const std::string folder = FileBeside(stateDir, "");
    if (const Status made = MakeFolders(folder); !made.ok()) {
        return made;
    }
    return SaveFileReplacing(folder + name, bytes);
}

}  // namespace zolt
