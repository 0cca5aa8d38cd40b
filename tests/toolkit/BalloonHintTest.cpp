#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "tests/support/WaitFor.h"
#include "toolkit/BalloonHint.h"

namespace zolt {
namespace {

QPoint ScreenMiddle() {
    return QGuiApplication::primaryScreen()->availableGeometry().center();
}

TEST(BalloonHint, PointsAtTheAnchorFromBelowLeftWithAShadow) {
    BalloonHint hint;
    const QPoint anchor = ScreenMiddle();
    hint.showHint("You've Got A Message!\r\nSpring sale", anchor);
    ASSERT_TRUE(hint.isVisible());
    EXPECT_TRUE(hint.isWindow());
    EXPECT_EQ(hint.text(), "You've Got A Message!\nSpring sale");

    // The pointer's tip is the anchor; the bubble hangs below it and reaches
    // further to the left than to the right.
    EXPECT_EQ(hint.mapToGlobal(hint.pointerTip()), anchor);
    const QRect frame = hint.geometry();
    EXPECT_EQ(frame.top(), anchor.y());
    EXPECT_GT(anchor.x() - frame.left(), frame.right() - anchor.x());

    // Shaped: the mask holds the tip and the shadow's outer corner, but not
    // the corner above the body beside the pointer.
    const QRegion mask = hint.mask();
    EXPECT_TRUE(mask.contains(hint.pointerTip() + QPoint(-1, 3)));
    EXPECT_FALSE(mask.contains(QPoint(1, 1)));
    const QPoint shadowCorner(hint.width() - 2, hint.height() - 2);
    EXPECT_TRUE(mask.contains(shadowCorner));
    EXPECT_FALSE(mask.contains(QPoint(hint.width() - 2, 2)));

    // Two lines of text make the bubble taller than one line.
    BalloonHint single;
    single.showHint("You've Got A Message!", anchor);
    EXPECT_GT(hint.height(), single.height());
}

TEST(BalloonHint, UsesThePlatformTooltipLook) {
    BalloonHint hint;
    hint.showHint("x", ScreenMiddle());
    EXPECT_EQ(hint.font(), QToolTip::font());
    EXPECT_EQ(hint.palette().color(QPalette::ToolTipBase),
              QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(hint.palette().color(QPalette::ToolTipText),
              QToolTip::palette().color(QPalette::ToolTipText));
    // Painting the bubble puts the tooltip colour inside it.
    const QImage image = hint.grab().toImage();
    EXPECT_EQ(image.pixelColor(hint.width() / 2, hint.height() / 2).rgb(),
              QToolTip::palette().color(QPalette::ToolTipBase).rgb());
}

TEST(BalloonHint, NewHintReplacesTheOneShowing) {
    QWidget owner;
    auto* hint = new BalloonHint(&owner);
    const QPoint first = ScreenMiddle();
    const QPoint second = first + QPoint(40, 30);
    hint->showHint("first", first);
    hint->showHint("second", second);
    EXPECT_EQ(hint->text(), "second");
    EXPECT_EQ(hint->mapToGlobal(hint->pointerTip()), second);
    int visible = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<BalloonHint*>(w) != nullptr && w->isVisible()) {
            ++visible;
        }
    }
    EXPECT_EQ(visible, 1);
}

TEST(BalloonHint, ClosesOnAClickAndAfterTenSeconds) {
    BalloonHint hint;
    hint.showHint("click me", ScreenMiddle());
    EXPECT_TRUE(hint.autoCloseTimer().isActive());
    EXPECT_TRUE(hint.autoCloseTimer().isSingleShot());
    EXPECT_EQ(hint.autoCloseTimer().interval(), 10000);
    QTest::mouseClick(&hint, Qt::LeftButton, {}, QPoint(hint.width() / 2, hint.height() / 2));
    EXPECT_FALSE(hint.isVisible());
    EXPECT_FALSE(hint.autoCloseTimer().isActive());

    // A new show starts the time again; its end closes the bubble.
    hint.showHint("wait", ScreenMiddle());
    EXPECT_TRUE(hint.isVisible());
    hint.autoCloseTimer().start(1);
    EXPECT_TRUE(test::WaitFor([&] { return !hint.isVisible(); }, 5000));
}

TEST(BalloonHint, StaysOnScreenNearTheLeftEdgeAndStillTouchesTheAnchor) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint anchor(area.left() + 40, area.top() + 50);
    BalloonHint hint;
    hint.showHint("A rather long news title that makes the bubble wide", anchor);
    EXPECT_GE(hint.geometry().left(), area.left());
    EXPECT_EQ(hint.mapToGlobal(hint.pointerTip()), anchor);
}

}  // namespace
}  // namespace zolt
