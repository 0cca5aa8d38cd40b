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

struct Captioned {
    const char* name;
    const char* text;
};

// Checks the caption of every control in `rows` (labels and buttons). Where
// the controls stand, and whether their captions fit, is the layout test's.
void ExpectCaptions(QWidget& page, const std::vector<Captioned>& rows);

// "Preview" has the size of "Copy To Clipboard" and stands 8 pixels to its
// right on the same line.
void ExpectPreviewBesideCopy(QWidget& page, const char* copy, const char* preview);

// The names of the focusable controls that Tab visits from `first` onwards,
// driven with real Tab key presses.
std::vector<std::string> TabOrder(QWidget& page, QWidget* first, size_t count);

}  // namespace zolt::test
