#pragma once

#include <QTextBrowser>

#include <string>

#include "util/Services.h"

namespace zolt {

// An HTML view in browse mode: read-only, given a whole document as HTML
// source. Links open in the user's browser; nothing is ever fetched from the
// network, so a page cannot reach out on its own.
class HtmlView : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HtmlView(const Services& services, QWidget* parent = nullptr);

    // Shows `html` (bytes, UTF-8 or Windows-1252) as the whole document.
    void setHtmlSource(const std::string& html);
    const std::string& htmlSource() const { return source_; }

    QVariant loadResource(int type, const QUrl& name) override;

  signals:
    void linkOpened(const QString& url);

  private:
    void openLink(const QUrl& url);

    const Services& services_;
    std::string source_;
};

}  // namespace zolt
