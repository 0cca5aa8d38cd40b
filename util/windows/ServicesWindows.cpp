// The Windows side of the Services seam: the registry's browser, the shell's
// "open", the program's folder from its module, %LOCALAPPDATA% and the
// performance counter. Byte strings cross to Qt's text through util/Text's
// path conversion (paths, program names, arguments and registry values are
// UTF-8 here); Qt's text crosses to the system's wide strings with
// toStdWString, which is no byte string.
#include "util/ProgramConfig.h"
#include "util/Services.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>

#include <memory>
#include <optional>
#include <random>
#include <string_view>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "util/Text.h"
#include "util/WindowsRules.h"

namespace zolt {

namespace {

// Registered commands are a path and a few switches; anything longer is not
// a browser's.
constexpr DWORD kMaxCommandBytes = 32 * 1024;

std::wstring Wide(const std::string& utf8) {
    return PathToQString(utf8).toStdWString();
}

std::string Utf8(const std::wstring& wide) {
    return PathFromQString(QString::fromStdWString(wide));
}

std::wstring NativePath(const std::string& path) {
    return QDir::toNativeSeparators(PathToQString(path)).toStdWString();
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const QString key = PathToQString(std::string(name));
    if (!qEnvironmentVariableIsSet(key.toLocal8Bit().constData())) {
        return std::nullopt;
    }
    return PathFromQString(qEnvironmentVariable(key.toLocal8Bit().constData()));
}

// The default value of HKEY_CLASSES_ROOT\http\shell\open\command, read with
// query access only, so that a missing key is not created; "" without one.
std::string RegisteredHttpCommand() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::string();
    }
    std::wstring value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size <= kMaxCommandBytes) {
        value.resize(size / sizeof(wchar_t) + 1);
        DWORD got = size;
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                             &got) == ERROR_SUCCESS) {
            value.resize(std::min<std::size_t>(got / sizeof(wchar_t), value.size()));
            value.resize(std::wcslen(value.c_str()));
        } else {
            value.clear();
        }
    }
    RegCloseKey(key);
    return Utf8(value);
}

// The shell's "open" of `program` with `args` as its parameter text, no
// working folder, shown as the program wants (SW_SHOW).
bool ShellOpen(const std::string& program, const std::vector<std::string>& args) {
    const std::wstring file = NativePath(program);
    const std::wstring parameters = Wide(WindowsParameterText(args));
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// The shell's own "open" of a web address (already checked by
// BrowserAddress): the handler the system registers for its scheme.
bool ShellOpenAddress(const std::string& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string LocalAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
        return std::string();
    }
    return Utf8(path);
}

std::uint64_t PerformanceCounter() {
    LARGE_INTEGER counter;
    return QueryPerformanceCounter(&counter) != 0 ? static_cast<std::uint64_t>(counter.QuadPart)
                                                  : GetTickCount64();
}

}  // namespace

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return std::string();
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        // Cut short: long paths go up to 32767 characters.
        if (path.size() >= 32768) {
            return std::string();
        }
        path.resize(path.size() * 2);
    }
    const std::string folder =
        PathFromQString(QDir::fromNativeSeparators(QString::fromStdWString(path)));
    return folder.substr(0, folder.rfind('/') + 1);
}

ProgramConfig MakeProgramConfig(const std::string& baseDir) {
    ProgramConfig config;
    config.baseDir = baseDir;
    config.stateDir =
        WindowsStateFolder(EnvironmentVariable("LOCALAPPDATA").value_or(""), LocalAppDataFolder())
            .value_or("");
    config.packageInstall =
        QFileInfo::exists(QDir(PathToQString(baseDir)).filePath(kPackageMarkerFile));
    return config;
}

Services MakeSystemServices() {
    Services s;
    s.startDetached = ShellOpen;
    // The shell's "open" of a folder is the file manager's window of it.
    s.openFolder = [](const std::string& folder) { return ShellOpen(folder, {}); };
    s.browserProgram = [] {
        return BrowserProgramFromCommand(RegisteredHttpCommand(), EnvironmentVariable);
    };
    s.openAddress = ShellOpenAddress;
    // On PATH, else beside the program (a reseller may ship php.exe there).
    s.findProgram = [](const std::string& name) {
        QString found = QStandardPaths::findExecutable(PathToQString(name));
        if (found.isEmpty()) {
            found = QStandardPaths::findExecutable(PathToQString(name),
                                                   {PathToQString(ProgramFolder())});
        }
        return PathFromQString(found);
    };
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    s.randomize = [engine] {
        engine->seed(static_cast<std::mt19937::result_type>(PerformanceCounter()));
    };
    s.random = [engine](int n) {
        if (n <= 1) {
            return 0;
        }
        return std::uniform_int_distribution<int>(0, n - 1)(*engine);
    };
    s.tickCount = [] { return static_cast<std::uint64_t>(GetTickCount64()); };
    return s;
}

bool ProgramFolderWritable(const ProgramConfig& config) {
    if (config.packageInstall) {
        return false;
    }
    // Access rights decide, not the read-only attribute: a folder under
    // Program Files takes a new file only from an administrator.
    const std::wstring probe =
        NativePath(config.baseDir + "/.write-probe-" + std::to_string(GetCurrentProcessId()));
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace zolt
