#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace zolt {

// A shaped message bubble whose pointer touches an anchor point on the
// screen, lying below and to the left of it, with a shadow, in the
// platform's tooltip font and colours. One object shows one hint at a time:
// showing another replaces the one still up. A click closes it, and so does
// its own timer after ten seconds.
class BalloonHint : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShadowDepth = 4;
    static constexpr int kAutoCloseMs = 10000;

    explicit BalloonHint(QWidget* parent = nullptr);

    // `text` may hold line breaks (CR LF, LF); `anchor` is in screen
    // coordinates.
    void showHint(const QString& text, const QPoint& anchor);
    void hideHint();

    QString text() const { return text_; }
    QPoint anchor() const { return anchor_; }
    // The pointer's tip in the widget's own coordinates.
    QPoint pointerTip() const { return tip_; }
    QTimer& autoCloseTimer() { return autoClose_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPainterPath bubblePath() const;
    void layoutFor(const QPoint& anchor);

    QString text_;
    QPoint anchor_;
    QPoint tip_;
    QSize textSize_;
    QTimer autoClose_;
};

}  // namespace zolt
