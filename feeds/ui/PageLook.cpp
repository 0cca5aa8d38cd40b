#include "feeds/ui/PageLook.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace zolt {

void FitPageLook(QWidget& page) {
    QFont font = page.font();
    // Fonts of Tahoma's or Arial's width first: the places were measured for them.
    font.setFamilies(
        {"Tahoma", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", font.family()});
    font.setPixelSize(11);
    page.setFont(font);
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            continue;
        }
        const QSize hint = label->sizeHint();
        label->resize(std::max(label->width(), hint.width()),
                      std::max(label->height(), hint.height()));
    }
}

}  // namespace zolt
