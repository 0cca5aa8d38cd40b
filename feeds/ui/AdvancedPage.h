#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "feeds/ui/PreviewWindow.h"
#include "toolkit/MessageBox.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

namespace Ui {
class AdvancedPage;
}

namespace zolt {

// The page "Advanced" of the main window: the eBay feed generator.
class AdvancedPage : public QWidget {
    Q_OBJECT
  public:
    // `msgMain` is the main window's message box.
    AdvancedPage(const ProgramConfig& config, const Services& services, const MessageBox& msgMain,
                 QWidget* parent = nullptr);
    ~AdvancedPage() override;

    // Fills the site drop-down and the id list together, last row selected.
    void FillEbaySites();
    // The site ids, entry i belonging to item i of the site drop-down.
    const std::vector<std::string>& EbaySiteIds() const { return ebaySiteIds_; }

  public slots:
    // "Generate Code": the eBay snippet into the code box.
    void btnEGenerateClick();
    // "Copy To Clipboard": the code box's text onto the clipboard.
    void btnECopyToClipboardClick();
    // "Preview": "Generate Code", then the snippet run in the preview window.
    void btnEPreviewClick();
    // Closes the preview window, ending its run.
    void ClosePreview();

  private:
    // "Generate Code": the snippet shown in the code box, or none after a warning.
    std::optional<std::string> GenerateCode();

    const ProgramConfig& config_;
    const MessageBox& msgMain_;
    PagePreview preview_;
    std::unique_ptr<Ui::AdvancedPage> ui_;
    std::vector<std::string> ebaySiteIds_;
};

}  // namespace zolt
