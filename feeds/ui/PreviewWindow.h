#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

#include "feeds/PreviewRun.h"
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

// Previews `snippet` in `window`, made for `page` when there is none yet, and
// shown centred on the page's window when it was not showing.
void OpenPreview(QPointer<PreviewWindow>& window, const ProgramConfig& config,
                 const Services& services, QWidget& page, const std::string& snippet);

}  // namespace zolt
