#include "tests/support/HostProcess.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cctype>

#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zolt::test {

namespace {

#ifdef _WIN32
using UnixName = char*(__cdecl*)(const wchar_t*);

UnixName UnixNameFunction() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel == nullptr ? nullptr
                             : reinterpret_cast<UnixName>(reinterpret_cast<void*>(
                                   GetProcAddress(kernel, "wine_get_unix_file_name")));
}
#endif

std::string UnixPathOf(const std::string& windowsPath) {
#ifdef _WIN32
    const UnixName convert = UnixNameFunction();
    if (convert != nullptr) {
        const std::wstring wide = QString::fromStdString(windowsPath).toStdWString();
        char* unix = convert(wide.c_str());
        if (unix != nullptr) {
            std::string result(unix);
            HeapFree(GetProcessHeap(), 0, unix);
            return result;
        }
    }
#endif
    return windowsPath;
}

bool IsDriveStart(const std::string& s, std::size_t i) {
    return i + 2 < s.size() && std::isalpha(static_cast<unsigned char>(s[i])) && s[i + 1] == ':' &&
           (s[i + 2] == '\\' || s[i + 2] == '/') && (i == 0 || s[i - 1] == '=' || s[i - 1] == ':');
}

// The argument as one word of the host's shell.
std::string Quoted(const std::string& word) {
    std::string q(1, '\'');
    for (const char c : word) {
        if (c == '\'') {
            q.append("'\\''");
        } else {
            q.push_back(c);
        }
    }
    q.push_back('\'');
    return q;
}

std::string CommandLine(const std::string& program, const QStringList& args) {
    std::string line = Quoted(HostPath(program));
    for (const QString& a : args) {
        line.push_back(' ');
        line.append(Quoted(HostPath(a.toStdString())));
    }
    return line;
}

// Starts `script` with the host's shell, without waiting: Wine cannot wait.
bool StartShell(const std::string& script) {
    return QProcess::startDetached("Z:\\bin\\sh", {"-c", QString::fromStdString(script)});
}

std::string NewFolder() {
    const QString path =
        QDir::tempPath() + "/zolt-host-" + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(path);
    return path.toStdString();
}

}  // namespace

bool UnderWine() {
#ifdef _WIN32
    return UnixNameFunction() != nullptr;
#else
    return false;
#endif
}

std::string HostPath(const std::string& value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (IsDriveStart(value, i)) {
            std::string host = value.substr(0, i);
            host.append(UnixPathOf(value.substr(i)));
            return host;
        }
    }
    return value;
}

int RunOnHost(const std::string& program, const QStringList& args, std::string* out,
              const std::string& stdinData, const std::string& workDir) {
    TempDir files;
    files.write("in", stdinData);
    const std::string at = HostPath(files.path());
    std::string script = workDir.empty() ? "" : "cd " + Quoted(HostPath(workDir)) + " && ";
    // The code file appears last, in one rename, once the output is complete.
    script += CommandLine(program, args) + " <" + Quoted(at + "/in") + " >" + Quoted(at + "/out") +
              " 2>/dev/null; echo $? >" + Quoted(at + "/code.new") + "; mv " +
              Quoted(at + "/code.new") + " " + Quoted(at + "/code");
    if (!StartShell(script) || !WaitFor([&] { return files.exists("code"); }, 60000)) {
        return -1;
    }
    if (out != nullptr) {
        *out = files.read("out");
    }
    return std::stoi(files.read("code"));
}

bool HostServer::Start(const std::string& program, const QStringList& args,
                       const QProcessEnvironment& env) {
    folder_ = NewFolder();
    const std::string at = HostPath(folder_);
    std::string script;
    for (const QString& name : env.keys()) {
        if (name.startsWith("ZOLT_")) {
            script += "export " + name.toStdString() + "=" +
                      Quoted(HostPath(env.value(name).toStdString())) + "; ";
        }
    }
    script += "echo $$ >" + Quoted(at + "/pid.new") + "; mv " + Quoted(at + "/pid.new") + " " +
              Quoted(at + "/pid") + "; exec " + CommandLine(program, args) + " </dev/null >" +
              Quoted(at + "/log") + " 2>&1";
    return StartShell(script) &&
           WaitFor([&] { return QFile::exists(QString::fromStdString(folder_ + "/pid")); });
}

void HostServer::Stop() {
    if (folder_.empty()) {
        return;
    }
    const std::string at = HostPath(folder_);
    if (QFile::exists(QString::fromStdString(folder_ + "/pid"))) {
        const std::string pid = ReadFileBytes(folder_ + "/pid");
        // The folder goes once the server has ended, so the test can wait for that.
        const std::string id = Quoted(pid.substr(0, pid.find('\n')));
        StartShell("kill " + id + "; while kill -0 " + id +
                   " 2>/dev/null; do sleep 0.05; done; rm -rf " + Quoted(at));
        WaitFor([&] { return !QFile::exists(QString::fromStdString(folder_)); }, 5000);
    }
    folder_.clear();
}

std::string HostServer::log() const {
    return folder_.empty() ? std::string() : ReadFileBytes(folder_ + "/log");
}

}  // namespace zolt::test
