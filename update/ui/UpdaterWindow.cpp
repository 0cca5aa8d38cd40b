#include "update/ui/UpdaterWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "net/HttpClient.h"
#include "update/Elevation.h"
#include "util/Text.h"

namespace zolt {

UpdaterWindow::UpdaterWindow(UpdaterArguments arguments, std::string publicKey, Services services,
                             QWidget* parent)
    : QWidget(parent),
      arguments_(std::move(arguments)),
      publicKey_(std::move(publicKey)),
      services_(std::move(services)),
      http_(std::make_unique<HttpClient>()) {
    setObjectName("frmUpdater");
    setWindowTitle("Update");
    setMinimumWidth(460);
    lblStatus = new QLabel("Starting the update...", this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setWordWrap(true);
    lblStatus->setTextFormat(Qt::PlainText);
    prbDownload = new QProgressBar(this);
    prbDownload->setObjectName("prbDownload");
    prbDownload->setRange(0, 0);
    btnElevate = new QPushButton("Continue", this);
    btnElevate->setObjectName("btnElevate");
    btnElevate->hide();
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnElevate);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(prbDownload);
    layout->addLayout(buttons);

    connect(btnCancel, &QPushButton::clicked, this, &UpdaterWindow::btnCancelClick);
    connect(btnElevate, &QPushButton::clicked, this, [this] {
        std::vector<std::string> args = UpdaterArgumentList(arguments_);
        args.push_back("--elevated");
        if (StartElevated(FromQString(QApplication::applicationFilePath()), args)) {
            QApplication::quit();
            return;
        }
        btnElevate->hide();
        Finish({UpdateOutcome::Kind::Refused,
                "Windows did not let the updater run as an administrator, so the update "
                "cannot be installed. Nothing was changed."});
    });
}

UpdaterWindow::~UpdaterWindow() = default;

void UpdaterWindow::Start() {
    UpdateRun::Events events;
    events.status = [this](const std::string& doing) { lblStatus->setText(ToQString(doing)); };
    events.progress = [this](std::int64_t received, std::int64_t total) {
        // Permille, so that packages of any size fit an int.
        prbDownload->setRange(0, total > 0 ? 1000 : 0);
        if (total > 0) {
            prbDownload->setValue(static_cast<int>(received * 1000 / total));
        }
    };
    events.cancellable = [this](bool can) { btnCancel->setEnabled(can); };
    run_ = std::make_unique<UpdateRun>(arguments_, *http_, publicKey_, events);
    running_ = true;
    const UpdateOutcome outcome = run_->Run();
    running_ = false;
    setWindowTitle(ToQString(run_->productName() + " Update"));
    Finish(outcome);
}

void UpdaterWindow::Finish(const UpdateOutcome& outcome) {
    outcome_ = outcome;
    lblStatus->setText(ToQString(outcome.sentence));
    prbDownload->setRange(0, 1);
    prbDownload->setValue(outcome.kind == UpdateOutcome::Kind::Installed ? 1 : 0);
    btnCancel->setEnabled(true);
    if (outcome.kind == UpdateOutcome::Kind::NeedsElevation) {
        asksElevation_ = true;
        btnElevate->show();
        return;
    }
    asksElevation_ = false;
    btnCancel->setText("Close");
    if (outcome.kind == UpdateOutcome::Kind::Installed ||
        outcome.kind == UpdateOutcome::Kind::Recovered) {
        StartProgramAndQuit();
    }
}

void UpdaterWindow::btnCancelClick() {
    if (running_) {
        lblStatus->setText("Cancelling...");
        run_->Cancel();
        return;
    }
    close();
}

void UpdaterWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // Closing the window is Cancel; the run ends by itself.
        run_->Cancel();
        event->ignore();
        return;
    }
    event->accept();
    if (!asksElevation_) {
        StartProgramAndQuit();
    }
}

void UpdaterWindow::StartProgramAndQuit() {
    // The program closed for the update: it comes back, new or as it was.
    if (run_ && !run_->programPath().empty()) {
        services_.startDetached(run_->programPath(), {});
    }
    QApplication::quit();
}

}  // namespace zolt
