#pragma once

#include <QLabel>

namespace zolt {

// A picture control that sizes itself to its picture and reports clicks.
class BannerImage : public QLabel {
    Q_OBJECT
  public:
    explicit BannerImage(QWidget* parent = nullptr);

    // Shows `picture` at its own size; a null picture empties the control.
    void setPicture(const QPixmap& picture);
    bool hasPicture() const { return !picture_.isNull(); }
    const QPixmap& picture() const { return picture_; }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace zolt
