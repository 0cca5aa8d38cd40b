#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "feeds/ui/PreviewWindow.h"
#include "toolkit/MessageBox.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

namespace Ui {
class SimplePage;
}

namespace zolt {

// The page "Simple" of the main window: the news feed generator.
class SimplePage : public QWidget {
    Q_OBJECT
  public:
    // `msgMain` is the main window's message box.
    SimplePage(const ProgramConfig& config, const Services& services, const MessageBox& msgMain,
               QWidget* parent = nullptr);
    ~SimplePage() override;

  public slots:
    // "Find RSS Feed": the search address for the keyword into the feed field.
    void btnSearchFeedClick();
    // "Generate Code": the snippet for the feed address into the code box.
    void btnFGenerateCodeClick();
    // "Copy To Clipboard": the code box's text onto the clipboard.
    void btnFCopyToClipboardClick();
    // "Preview": "Generate Code", then the snippet run in the preview window.
    void btnFPreviewClick();
    // Closes the preview window, ending its run.
    void ClosePreview();

  private:
    // "Generate Code": the snippet shown in the code box, or none after a warning.
    std::optional<std::string> GenerateCode();

    const ProgramConfig& config_;
    const MessageBox& msgMain_;
    PagePreview preview_;
    std::unique_ptr<Ui::SimplePage> ui_;
};

}  // namespace zolt
