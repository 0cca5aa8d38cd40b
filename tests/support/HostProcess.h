#pragma once

#include <QProcessEnvironment>
#include <QStringList>

#include <string>

namespace zolt::test {

// Under Wine the tests' PHP is the host's Linux php. Wine starts a Linux
// program from a Windows one but hands back no process: its exit, its output
// and a kill never reach the test. These run it through the host's shell
// instead, with files in between, and are used only when UnderWine() holds.
bool UnderWine();

// `value` with its Windows path (from a drive letter on: "C:\x", or after
// "=" or ":" as in "--dsn=sqlite:C:\x") turned into the host's path.
std::string HostPath(const std::string& value);

// Runs `program` with `args` in `workDir` on the host and waits for its end;
// the exit code (-1 when it did not end in time) and its standard output.
int RunOnHost(const std::string& program, const QStringList& args, std::string* out,
              const std::string& stdinData, const std::string& workDir);

// A host program that runs until Stop(): its output goes to a log file.
class HostServer {
  public:
    HostServer() = default;
    ~HostServer() { Stop(); }
    HostServer(const HostServer&) = delete;
    HostServer& operator=(const HostServer&) = delete;

    // The `ZOLT_*` variables of `env` are handed on; nothing else differs
    // from the environment Wine itself was started with.
    bool Start(const std::string& program, const QStringList& args, const QProcessEnvironment& env);
    void Stop();
    std::string log() const;

  private:
    std::string folder_;  // the host's pid and log files
};

}  // namespace zolt::test
