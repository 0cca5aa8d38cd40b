#include "feeds/PreviewRun.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

// A page larger than this is cut: the HTML view shows pages above 2 MB as
// text anyway, and a runaway script must not fill the memory.
constexpr std::size_t kMaxOutputBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxErrorBytes = 256 * 1024;

void AppendCapped(std::string& to, const QByteArray& bytes, std::size_t cap) {
    if (to.size() < cap) {
        to.append(bytes.constData(),
                  std::min(static_cast<std::size_t>(bytes.size()), cap - to.size()));
    }
}

}  // namespace

PreviewRun::PreviewRun(QObject* parent) : QObject(parent) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        qCWarning(lcFeeds) << "preview stopped after" << request_.timeLimitMs << "ms";
        PreviewOutcome outcome = PreviewMessage(PreviewResult::TimedOut, request_.timeLimitMs);
        ReadOutput();
        outcome.errors = err_;
        Finish(outcome);
    });
}

PreviewRun::~PreviewRun() {
    onFinished = nullptr;
    EndProcess();
}

void PreviewRun::Start(const PreviewRequest& request) {
    if (IsRunning()) {
        Cancel();
    }
    request_ = request;
    out_.clear();
    err_.clear();
    step_ = Step::Modules;
    if (request.php.empty()) {
        qCWarning(lcFeeds) << "preview: no php on PATH";
        Finish(PreviewMessage(PreviewResult::NoPhp));
        return;
    }
    if (request.feedreaderFile.empty()) {
        qCWarning(lcFeeds) << "preview: the program's feedreader.php was not found";
        Finish(PreviewMessage(PreviewResult::NoLibrary));
        return;
    }
    site_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/rssfeedzolt-preview-XXXXXX");
    pageFile_ = site_->isValid() ? WritePreviewSite(PathFromQString(site_->path()),
                                                    request.feedreaderFile, request.snippet)
                                 : "";
    if (pageFile_.empty()) {
        Finish(PreviewMessage(PreviewResult::NoSite));
        return;
    }
    deadline_.start(request.timeLimitMs);
    StartStep(Step::Modules, PhpModulesCommand(request.php));
}

void PreviewRun::Cancel() {
    if (IsRunning()) {
        Finish(PreviewMessage(PreviewResult::Cancelled));
    }
}

void PreviewRun::StartStep(Step step, const ProcessCommand& command) {
    step_ = step;
    out_.clear();
    err_.clear();
    process_ = new QProcess(this);
    const QString site = site_->path();
    // PHP's fallback for a cache folder is the temporary folder: the site's own.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", site);
    process_->setProcessEnvironment(env);
    process_->setWorkingDirectory(site);
    process_->setStandardInputFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, &PreviewRun::ReadOutput);
    connect(process_, &QProcess::readyReadStandardError, this, &PreviewRun::ReadOutput);
    connect(process_, &QProcess::finished, this, &PreviewRun::StepFinished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCWarning(lcFeeds) << "preview: php did not start:" << process_->errorString();
            Finish(PreviewMessage(PreviewResult::NoPhp));
        }
    });
    QStringList args;
    for (const std::string& a : command.args) {
        args << PathToQString(a);
    }
    process_->start(PathToQString(command.program), args);
}

void PreviewRun::ReadOutput() {
    if (process_ == nullptr) {
        return;
    }
    AppendCapped(out_, process_->readAllStandardOutput(), kMaxOutputBytes);
    AppendCapped(err_, process_->readAllStandardError(), kMaxErrorBytes);
}

void PreviewRun::StepFinished(int exitCode, QProcess::ExitStatus status) {
    ReadOutput();
    const bool normal = status == QProcess::NormalExit;
    if (step_ == Step::Page) {
        Finish(PageOutcome(normal, exitCode, out_, err_));
        return;
    }
    if (!normal || exitCode != 0) {
        PreviewOutcome outcome = PreviewMessage(PreviewResult::Error);
        outcome.errors = err_;
        Finish(outcome);
        return;
    }
    const std::vector<std::string> missing = MissingPhpExtensions(out_);
    if (!missing.empty()) {
        Finish(PreviewMessage(PreviewResult::NoExtension, request_.timeLimitMs, missing));
        return;
    }
    EndProcess();
    StartStep(Step::Page, PhpPageCommand(request_.php, pageFile_));
}

void PreviewRun::Finish(const PreviewOutcome& outcome) {
    deadline_.stop();
    EndProcess();
    site_.reset();
    step_ = Step::Idle;
    if (onFinished) {
        onFinished(outcome);
    }
}

void PreviewRun::EndProcess() {
    if (process_ == nullptr) {
        return;
    }
    QProcess* process = process_;
    process_ = nullptr;
    disconnect(process, nullptr, this, nullptr);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(5000);
    }
    // It may be inside one of its own signals now.
    process->deleteLater();
}

}  // namespace zolt
