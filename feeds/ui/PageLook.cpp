#include "feeds/ui/PageLook.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

#include <algorithm>

#include "toolkit/Skin.h"

namespace zolt {

namespace {

// Fonts of Tahoma's or Arial's width first: the places were measured for
// them. Under a skin that sets fonts the page's own sheet wins over the
// skin's, whatever its rules; under one that sets none, such as the built-in
// skin, the page's font is enough and much cheaper than a sheet of its own.
constexpr const char* kPageFont =
    "QWidget { font-family: \"Tahoma\", \"Arial\", \"Liberation Sans\", \"Nimbus Sans\", "
    "\"Helvetica\", sans-serif; font-size: 11px; }";

QFont PageFont() {
    QFont font;
    font.setFamilies({"Tahoma", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace

void SetPageFont(QWidget& page) {
    page.setFont(PageFont());
}

void FitPageLook(QWidget& page) {
    if (SkinSetsFonts()) {
        page.setStyleSheet(kPageFont);
    }
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            continue;
        }
        label->ensurePolished();
        const QSize hint = label->sizeHint();
        label->resize(std::max(label->width(), hint.width()),
                      std::max(label->height(), hint.height()));
    }
}

}  // namespace zolt
