#include "toolkit/Anchors.h"

#include <QEvent>
#include <QWidget>

namespace zolt {

RightAnchor::RightAnchor(QWidget* child, int rightMargin)
    : QObject(child), child_(child), margin_(rightMargin) {
    child->parentWidget()->installEventFilter(this);
    child->installEventFilter(this);
    place();
}

bool RightAnchor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize &&
        (watched == child_ || watched == child_->parentWidget())) {
        place();
    }
    return false;
}

void RightAnchor::place() {
    const int x = child_->parentWidget()->width() - margin_ - child_->width();
    if (child_->x() != x) {
        child_->move(x, child_->y());
    }
}

void AnchorRight(QWidget* child, int rightMargin) {
    new RightAnchor(child, rightMargin);
}

}  // namespace zolt
