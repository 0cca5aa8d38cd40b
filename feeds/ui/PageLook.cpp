#include "feeds/ui/PageLook.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace zolt {

namespace {

// Fonts of Tahoma's or Arial's width first: the places were measured for
// them. The page's own sheet wins over the skin's font, whatever its rules.
constexpr const char* kPageFont =
    "QWidget { font-family: \"Tahoma\", \"Arial\", \"Liberation Sans\", \"Nimbus Sans\", "
    "\"Helvetica\", sans-serif; font-size: 11px; }";

}  // namespace

void FitPageLook(QWidget& page) {
    page.setStyleSheet(kPageFont);
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
