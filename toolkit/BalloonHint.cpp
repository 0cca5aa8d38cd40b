#include "toolkit/BalloonHint.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace zolt {

namespace {

constexpr int kPadding = 8;
constexpr int kRadius = 6;
constexpr int kPointerHeight = 14;
constexpr int kPointerWidth = 16;
// Distance of the pointer from the bubble's right end, so that the bubble
// hangs to the left of what it points at.
constexpr int kPointerInset = 24;
constexpr int kMaxTextWidth = 360;

QString WithPlainLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

BalloonHint::BalloonHint(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("BalloonHint"));
    autoClose_.setSingleShot(true);
    autoClose_.setInterval(kAutoCloseMs);
    connect(&autoClose_, &QTimer::timeout, this, &BalloonHint::hideHint);
}

void BalloonHint::showHint(const QString& text, const QPoint& anchor) {
    text_ = WithPlainLineBreaks(text);
    anchor_ = anchor;
    // Taken at every show, so that a changed desktop theme is followed.
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
    layoutFor(anchor);

    const QPainterPath bubble = bubblePath();
    QRegion shape(bubble.toFillPolygon().toPolygon());
    shape += shape.translated(kShadowDepth, kShadowDepth);
    setMask(shape);

    show();
    raise();
    update();
    autoClose_.start();
}

void BalloonHint::hideHint() {
    autoClose_.stop();
    hide();
}

void BalloonHint::layoutFor(const QPoint& anchor) {
    const QFontMetrics metrics(font());
    const QRect textRect = metrics.boundingRect(QRect(0, 0, kMaxTextWidth, 10000),
                                                Qt::AlignLeft | Qt::TextWordWrap, text_);
    textSize_ = textRect.size();
    const int bodyWidth =
        std::max(textSize_.width() + 2 * kPadding, kPointerInset + kPointerWidth + kRadius);
    const int bodyHeight = textSize_.height() + 2 * kPadding;

    int tipX = bodyWidth - kPointerInset;
    int left = anchor.x() - tipX;
    // Near the left end of the screen the bubble moves right and the pointer
    // slides along its top edge, still touching the anchor.
    if (const QScreen* screen = QGuiApplication::screenAt(anchor)) {
        const QRect area = screen->availableGeometry();
        if (left < area.left()) {
            left = area.left();
            tipX = std::clamp(anchor.x() - left, kPointerWidth + kRadius, bodyWidth - kRadius);
            left = anchor.x() - tipX;
        }
    }
    tip_ = QPoint(tipX, 0);
    setFixedSize(bodyWidth + kShadowDepth, kPointerHeight + bodyHeight + kShadowDepth);
    move(left, anchor.y());
}

QPainterPath BalloonHint::bubblePath() const {
    const QRectF body(0, kPointerHeight, width() - kShadowDepth,
                      height() - kShadowDepth - kPointerHeight);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath pointer;
    pointer.moveTo(tip_.x() - kPointerWidth, kPointerHeight + 1);
    pointer.lineTo(tip_.x(), tip_.y());
    pointer.lineTo(tip_.x(), kPointerHeight + 1);
    pointer.closeSubpath();
    return path.united(pointer);
}

void BalloonHint::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath bubble = bubblePath();
    painter.fillPath(bubble.translated(kShadowDepth, kShadowDepth),
                     palette().color(QPalette::Dark));
    painter.fillPath(bubble, palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawPath(bubble);
    const QRect textRect(kPadding, kPointerHeight + kPadding, textSize_.width(),
                         textSize_.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::TextWordWrap, text_);
}

void BalloonHint::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hideHint();
}

}  // namespace zolt
