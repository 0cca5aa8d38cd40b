#pragma once

#include <QByteArray>
#include <QLabel>

class QBuffer;
class QMovie;

namespace zolt {

// An animated-GIF control that sizes itself to its animation, plays it in a
// loop and reports clicks.
class GifBanner : public QLabel {
    Q_OBJECT
  public:
    explicit GifBanner(QWidget* parent = nullptr);
    ~GifBanner() override;

    // Plays the animation in `bytes`; false (and empty) when it cannot be read.
    bool setAnimation(const QByteArray& bytes);
    void clearAnimation();
    bool hasAnimation() const { return movie_ != nullptr; }
    QMovie* movie() const { return movie_; }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QByteArray data_;
    QBuffer* buffer_ = nullptr;
    QMovie* movie_ = nullptr;
};

}  // namespace zolt
