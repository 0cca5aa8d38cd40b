#pragma once

#include <QWidget>

namespace zolt {

// The pages are laid out in pixels for a small 11-pixel font of Tahoma's
// width. SetPageFont gives the page that font before its controls are made
// (under a style sheet, controls made earlier would not take it); then
// FitPageLook makes it win over a reseller's skin, and labels that would
// still cut their text in the font at hand grow to the right and downwards,
// keeping their place.
void SetPageFont(QWidget& page);
void FitPageLook(QWidget& page);

// Names the page and makes the controls of its form `ui` in that look.
template <class Form>
void SetUpPage(QWidget& page, const char* name, Form& ui) {
    page.setObjectName(name);
    SetPageFont(page);
    ui.setupUi(&page);
    FitPageLook(page);
}

}  // namespace zolt
