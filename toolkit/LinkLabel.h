#pragma once

#include <QLabel>

#include <string>

#include "util/Services.h"

namespace zolt {

// A link: underlined caption, hand cursor; a click opens its URL in the
// user's browser.
class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(const Services& services, QWidget* parent = nullptr);

    void setUrl(const std::string& url) { url_ = url; }
    const std::string& url() const { return url_; }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const Services& services_;
    std::string url_;
};

}  // namespace zolt
