#pragma once

#include <QWidget>

#include <memory>

#include "util/Services.h"

namespace Ui {
class SimplePage;
}

namespace zolt {

// The page "Simple" of the main window: the news feed generator.
class SimplePage : public QWidget {
    Q_OBJECT
  public:
    SimplePage(const Services& services, QWidget* parent = nullptr);
    ~SimplePage() override;

  public slots:
    // "Find RSS Feed": the search address for the keyword into the feed field.
    void btnSearchFeedClick();
    // "Generate Code": the snippet for the feed address into the code box.
    void btnFGenerateCodeClick();
    // "Copy To Clipboard": the code box's text onto the clipboard.
    void btnFCopyToClipboardClick();

  private:
    const Services& services_;
    std::unique_ptr<Ui::SimplePage> ui_;
};

}  // namespace zolt
