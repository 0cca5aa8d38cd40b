#include "feeds/ui/PreviewWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "feeds/FeedreaderFile.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/HtmlView.h"

namespace zolt {

PreviewWindow::PreviewWindow(const ProgramConfig& config, const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), config_(config), services_(services) {
    setObjectName("frmPreview");
    setWindowTitle("Preview");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    prfPreview = new HtmlView(services_, this);
    prfPreview->setObjectName("prfPreview");
    layout->addWidget(prfPreview, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    btnPreviewCancel = new QPushButton("Close", this);
    btnPreviewCancel->setObjectName("btnPreviewCancel");
    btnPreviewCancel->setCursor(Qt::ArrowCursor);
    buttons->addWidget(btnPreviewCancel);
    layout->addLayout(buttons);
    resize(640, 480);
    connect(btnPreviewCancel, &QPushButton::clicked, this,
            Guarded([this] { btnPreviewCancelClick(); }));
    run_.onFinished = [this](const PreviewOutcome& outcome) { ShowOutcome(outcome); };
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::Preview(const std::string& snippet) {
    PreviewRequest request;
    request.php = services_.findProgram ? services_.findProgram("php") : "";
    request.feedreaderFile = ProgramFeedreader(config_);
    request.snippet = snippet;
    request.timeLimitMs = config_.previewTimeLimitMs;
    run_.Cancel();
    ShowOutcome(PreviewMessage(PreviewResult::Running));
    run_.Start(request);
}

void PreviewWindow::btnPreviewCancelClick() {
    if (run_.IsRunning()) {
        run_.Cancel();
    } else {
        close();
    }
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    run_.Cancel();
    event->accept();
}

void PreviewWindow::ShowOutcome(const PreviewOutcome& outcome) {
    const bool running = outcome.result == PreviewResult::Running;
    // The view sets a cursor of its own, which would hide the window's.
    setCursor(running ? Qt::WaitCursor : Qt::ArrowCursor);
    prfPreview->viewport()->setCursor(running ? Qt::WaitCursor : Qt::ArrowCursor);
    btnPreviewCancel->setText(running ? "Cancel" : "Close");
    prfPreview->setHtmlSource(PreviewDocument(outcome));
}

void PagePreview::Open(QWidget& page, const std::string& snippet) {
    if (window_.isNull()) {
        window_ = new PreviewWindow(config_, services_, &page);
    }
    if (!window_->isVisible()) {
        const QRect main = page.window()->frameGeometry();
        window_->move(main.center() - window_->rect().center());
        window_->show();
    }
    window_->raise();
    window_->activateWindow();
    window_->Preview(snippet);
}

void PagePreview::Close() {
    if (window_) {
        window_->close();
    }
}

}  // namespace zolt
