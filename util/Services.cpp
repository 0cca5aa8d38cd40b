#include "util/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <chrono>
#include <memory>
#include <random>

#include <unistd.h>

#include "util/ProgramConfig.h"
#include "util/Text.h"

namespace zolt {

namespace {

// "$XDG_STATE_HOME/rssfeedzolt/"; a relative or empty XDG_STATE_HOME is
// not valid and stands for "~/.local/state".
std::string StateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + "/.local/state";
    }
    return PathFromQString(base + "/rssfeedzolt/");
}

}  // namespace

std::string ProgramFolder() {
    return PathFromQString(QCoreApplication::applicationDirPath()) + "/";
}

ProgramConfig MakeProgramConfig(const std::string& baseDir) {
    ProgramConfig config;
    config.baseDir = baseDir;
    config.stateDir = StateFolder();
    config.packageInstall =
        QFileInfo(QDir(PathToQString(baseDir)).filePath(kPackageMarkerFile)).isFile();
    return config;
}

Services MakeSystemServices() {
    Services s;
    s.startDetached = [](const std::string& program, const std::vector<std::string>& args) {
        QStringList list;
        for (const auto& a : args) {
            list << PathToQString(a);
        }
        return QProcess::startDetached(PathToQString(program), list);
    };
    s.findProgram = [](const std::string& name) {
        return PathFromQString(QStandardPaths::findExecutable(PathToQString(name)));
    };
    s.openFolder = [](const std::string& folder) {
        const QString opener = QStandardPaths::findExecutable("xdg-open");
        return !opener.isEmpty() && QProcess::startDetached(opener, {PathToQString(folder)});
    };
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    s.randomize = [engine] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        engine->seed(static_cast<std::mt19937::result_type>(now));
    };
    s.random = [engine](int n) {
        if (n <= 1) {
            return 0;
        }
        return std::uniform_int_distribution<int>(0, n - 1)(*engine);
    };
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    s.tickCount = [clock] { return static_cast<std::uint64_t>(clock->elapsed()); };
    return s;
}

bool ProgramFolderWritable(const ProgramConfig& config) {
    return !config.packageInstall && ::access(config.baseDir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace zolt
