#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zolt::test {

// A control of a page by its name; fails the test when it is missing.
template <typename T>
T* Control(QWidget& page, const char* name) {
    T* w = page.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

struct Placed {
    const char* name;
    QRect geometry;
    const char* text;  // caption, or nullptr for none to check
};

// Checks place and caption of every control in `rows`; a one-line label may
// be larger than its row says, so as to show its whole text.
void ExpectPlaces(QWidget& page, const std::vector<Placed>& rows);

// The names of the focusable controls that Tab visits from `first` onwards,
// driven with real Tab key presses.
std::vector<std::string> TabOrder(QWidget& page, QWidget* first, size_t count);

}  // namespace zolt::test
