#include "toolkit/BannerImage.h"

#include <QMouseEvent>

namespace zolt {

BannerImage::BannerImage(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
}

void BannerImage::setPicture(const QPixmap& picture) {
    picture_ = picture;
    setPixmap(picture);
    if (!picture.isNull()) {
        resize(picture.size());
    }
}

void BannerImage::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace zolt
