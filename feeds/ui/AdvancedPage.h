#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "util/Services.h"

namespace Ui {
class AdvancedPage;
}

namespace zolt {

// The page "Advanced" of the main window: the eBay feed generator.
class AdvancedPage : public QWidget {
    Q_OBJECT
  public:
    AdvancedPage(const Services& services, QWidget* parent = nullptr);
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

  private:
    const Services& services_;
    std::unique_ptr<Ui::AdvancedPage> ui_;
    std::vector<std::string> ebaySiteIds_;
};

}  // namespace zolt
