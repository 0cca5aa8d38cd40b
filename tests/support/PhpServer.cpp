#include "tests/support/PhpServer.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <stdexcept>

#include "tests/support/WaitFor.h"

namespace zolt::test {

namespace {

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        throw std::runtime_error("no free port on 127.0.0.1");
    }
    return probe.serverPort();
}

bool Accepts(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

}  // namespace

// $ZOLT_PHP, else php on PATH: the Windows tests under Wine run the host's
// php, which Wine starts like a Windows program but PATH does not hold.
std::string PhpBinary() {
    const QString chosen = qEnvironmentVariable("ZOLT_PHP");
    if (!chosen.isEmpty()) {
        return chosen.toStdString();
    }
    return QStandardPaths::findExecutable("php").toStdString();
}

PhpServer::PhpServer(const std::string& docRoot, const std::string& router,
                     const QProcessEnvironment& env) {
    const std::string php = PhpBinary();
    if (php.empty()) {
        throw std::runtime_error("php is not installed");
    }
    // A port can be taken between the probe and PHP's bind: try a few.
    for (int attempt = 0; attempt < 5; ++attempt) {
        port_ = FreePort();
        QStringList args{"-S", QString("127.0.0.1:%1").arg(port_), "-t",
                         QString::fromStdString(docRoot)};
        if (!router.empty()) {
            args << QString::fromStdString(router);
        }
        if (UnderWine()) {
            if (host_.Start(php, args, env) && WaitFor([&] { return Accepts(port_); })) {
                return;
            }
            host_.Stop();
            continue;
        }
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QString::fromStdString(php), args);
        if (!process_.waitForStarted(5000)) {
            continue;
        }
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
            if (Accepts(port_)) {
                return;
            }
            process_.waitForReadyRead(20);
        }
        process_.kill();
        process_.waitForFinished(2000);
    }
    throw std::runtime_error("php -S did not start");
}

PhpServer::~PhpServer() {
    process_.kill();
    process_.waitForFinished(5000);
}

std::string PhpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

std::string PhpServer::log() {
    if (UnderWine()) {
        return host_.log();
    }
    printed_ += process_.readAll().toStdString();
    return printed_;
}

int RunPhp(const QStringList& args, std::string* out, const std::string& stdinData,
           const std::string& workDir) {
    if (UnderWine()) {
        return RunOnHost(PhpBinary(), args, out, stdinData, workDir);
    }
    QProcess p;
    if (!workDir.empty()) {
        p.setWorkingDirectory(QString::fromStdString(workDir));
    }
    p.start(QString::fromStdString(PhpBinary()), args);
    if (!p.waitForStarted(5000)) {
        return -1;
    }
    if (!stdinData.empty()) {
        p.write(stdinData.data(), static_cast<qint64>(stdinData.size()));
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out != nullptr) {
        *out = p.readAllStandardOutput().toStdString();
    }
    return p.exitCode();
}

}  // namespace zolt::test
