#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "feeds/PreviewOutcome.h"
#include "feeds/PreviewSite.h"

class QTemporaryDir;

namespace zolt {

struct PreviewRequest {
    std::string php;             // full path of php; empty when none was found
    std::string feedreaderFile;  // the library to run; empty when none was found
    std::string snippet;
    int timeLimitMs = 30000;
};

// One preview at a time, without blocking the event loop: a fresh temporary
// folder plays the site, `php -m` checks the extensions, then php runs the
// snippet's page there as a child process. The folder, with the library's
// cache, goes when the preview ends.
class PreviewRun : public QObject {
    Q_OBJECT
  public:
    explicit PreviewRun(QObject* parent = nullptr);
    ~PreviewRun() override;

    // Called once for every Start, possibly before Start returns.
    std::function<void(const PreviewOutcome&)> onFinished;

    // Starts a preview, cancelling one that still runs.
    void Start(const PreviewRequest& request);
    // Ends the running child now and reports Cancelled; nothing when idle.
    void Cancel();
    bool IsRunning() const { return step_ != Step::Idle; }

  private:
    enum class Step { Idle, Modules, Page };

    void StartStep(Step step, const ProcessCommand& command);
    void StepFinished(int exitCode, QProcess::ExitStatus status);
    void ReadOutput();
    void Finish(const PreviewOutcome& outcome);
    void EndProcess();

    Step step_ = Step::Idle;
    QProcess* process_ = nullptr;
    QTimer deadline_;
    std::unique_ptr<QTemporaryDir> site_;
    PreviewRequest request_;
    std::string pageFile_;
    std::string out_;
    std::string err_;
};

}  // namespace zolt
