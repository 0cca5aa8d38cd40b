#pragma once

#include <QProcess>
#include <QProcessEnvironment>

#include <string>

#include "tests/support/HostProcess.h"

namespace zolt::test {

// PHP's built-in web server on 127.0.0.1 and a free port, serving `docRoot`
// (optionally through a router script). Started by the constructor, which
// waits until the port accepts connections, and stopped by the destructor.
class PhpServer {
  public:
    explicit PhpServer(const std::string& docRoot, const std::string& router = "",
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
    ~PhpServer();
    PhpServer(const PhpServer&) = delete;
    PhpServer& operator=(const PhpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT/" followed by `path`.
    std::string url(const std::string& path = "") const;
    // What the server printed so far (its request log and PHP errors).
    std::string log();

  private:
    QProcess process_;
    HostServer host_;      // instead of process_ under Wine
    std::string printed_;  // what process_ printed so far
    int port_ = 0;
};

// Path of the php command line interpreter, or empty when it is missing.
std::string PhpBinary();
// Runs `php` with the arguments; returns the exit code and fills stdout.
int RunPhp(const QStringList& args, std::string* out, const std::string& stdinData = "",
           const std::string& workDir = "");

}  // namespace zolt::test
