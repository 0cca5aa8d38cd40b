#include "toolkit/LinkLabel.h"

#include <QMouseEvent>

#include "util/UUtils.h"

namespace zolt {

LinkLabel::LinkLabel(const Services& services, QWidget* parent)
    : QLabel(parent), services_(services) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        LaunchBrowser(services_, url_);
        emit clicked();
    }
}

}  // namespace zolt
