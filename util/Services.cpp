#include "util/Services.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <chrono>
#include <memory>
#include <random>

namespace zolt {

Services MakeSystemServices(const std::string& baseDir) {
    Services s;
    s.baseDir = baseDir;
    s.startDetached = [](const std::string& program, const std::vector<std::string>& args) {
        QStringList list;
        for (const auto& a : args) {
            list << QString::fromStdString(a);
        }
        return QProcess::startDetached(QString::fromStdString(program), list);
    };
    s.findProgram = [](const std::string& name) {
        return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
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

}  // namespace zolt
