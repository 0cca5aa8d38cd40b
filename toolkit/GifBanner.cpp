#include "toolkit/GifBanner.h"

#include <QBuffer>
#include <QMouseEvent>
#include <QMovie>

namespace zolt {

GifBanner::GifBanner(QWidget* parent) : QLabel(parent) {}

GifBanner::~GifBanner() {
    clearAnimation();
}

bool GifBanner::setAnimation(const QByteArray& bytes) {
    clearAnimation();
    data_ = bytes;
    buffer_ = new QBuffer(&data_, this);
    buffer_->open(QIODevice::ReadOnly);
    movie_ = new QMovie(buffer_, "gif", this);
    if (!movie_->isValid() || !movie_->jumpToFrame(0)) {
        clearAnimation();
        return false;
    }
    const QSize size = movie_->currentImage().size();
    if (size.isEmpty()) {
        clearAnimation();
        return false;
    }
    movie_->setCacheMode(QMovie::CacheAll);
    setMovie(movie_);
    resize(size);
    movie_->start();
    return true;
}

void GifBanner::clearAnimation() {
    setMovie(nullptr);
    clear();
    delete movie_;
    movie_ = nullptr;
    delete buffer_;
    buffer_ = nullptr;
    data_.clear();
}

void GifBanner::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace zolt
