#include "tests/feeds/PageTestUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <algorithm>

namespace zolt::test {

void ExpectPlaces(QWidget& page, const std::vector<Placed>& rows) {
    for (const Placed& row : rows) {
        QWidget* w = Control<QWidget>(page, row.name);
        if (w == nullptr) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
            // Labels keep their place and may only grow, to show all their text.
            EXPECT_EQ(w->pos(), row.geometry.topLeft()) << row.name;
            EXPECT_GE(w->width(), std::max(row.geometry.width(), w->sizeHint().width()))
                << row.name;
            EXPECT_GE(w->height(), std::max(row.geometry.height(), w->sizeHint().height()))
                << row.name;
        } else {
            EXPECT_EQ(w->geometry(), row.geometry) << row.name;
        }
        if (row.text == nullptr) {
            continue;
        }
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
        }
        EXPECT_EQ(text.toStdString(), row.text) << row.name;
    }
}

std::vector<std::string> TabOrder(QWidget& page, QWidget* first, size_t count) {
    page.show();
    page.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
    first->setFocus(Qt::TabFocusReason);
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
        QWidget* focused = QApplication::focusWidget();
        names.push_back(focused ? focused->objectName().toStdString() : "(none)");
        QTest::keyClick(focused ? focused : &page, Qt::Key_Tab);
    }
    return names;
}

}  // namespace zolt::test
