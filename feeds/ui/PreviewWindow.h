#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

#include "feeds/PreviewRun.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

class QPushButton;

namespace zolt {

class HtmlView;

// The window "Preview": what a snippet prints on the site, made by running
// it through php with the program's own feedreader.php. The window stays
// usable while php runs; closing it ends the run.
class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    PreviewWindow(const ProgramConfig& config, const Services& services, QWidget* parent);
    ~PreviewWindow() override;

    // Previews `snippet`, ending a preview that still runs.
    void Preview(const std::string& snippet);
    bool IsRunning() const { return run_.IsRunning(); }

    HtmlView* prfPreview = nullptr;
    // "Cancel" while php runs, "Close" afterwards.
    QPushButton* btnPreviewCancel = nullptr;

  public slots:
    void btnPreviewCancelClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowOutcome(const PreviewOutcome& outcome);

    const ProgramConfig& config_;
    const Services& services_;
    PreviewRun run_;
};

// A generator page's preview window, made for the page at its first preview.
class PagePreview {
  public:
    PagePreview(const ProgramConfig& config, const Services& services)
        : config_(config), services_(services) {}

    // Previews `snippet`, the window shown centred on the page's window when
    // it was not showing.
    void Open(QWidget& page, const std::string& snippet);
    // Closes the window, ending its run.
    void Close();

  private:
    const ProgramConfig& config_;
    const Services& services_;
    QPointer<PreviewWindow> window_;
};

}  // namespace zolt
