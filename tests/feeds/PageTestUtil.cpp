#include "tests/feeds/PageTestUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace zolt::test {

void ExpectCaptions(QWidget& page, const std::vector<Captioned>& rows) {
    for (const Captioned& row : rows) {
        QWidget* w = Control<QWidget>(page, row.name);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
        }
        EXPECT_EQ(text.toStdString(), row.text) << row.name;
    }
}

void ExpectPreviewBesideCopy(QWidget& page, const char* copy, const char* preview) {
    const QRect left = Control<QWidget>(page, copy)->geometry();
    EXPECT_EQ(Control<QWidget>(page, preview)->geometry(), left.translated(left.width() + 8, 0));
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
