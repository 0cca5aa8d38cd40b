#include "tests/support/LayoutCheck.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

namespace zolt::test {

namespace {

bool IsPlacedControl(const QWidget* w, const QWidget& root) {
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && !w->isWindow() &&
           w->isVisibleTo(&root);
}

std::string Describe(const QWidget* w) {
    const QRect r = w->geometry();
    return w->objectName().toStdString() + " (" + std::to_string(r.x()) + ", " +
           std::to_string(r.y()) + ", " + std::to_string(r.width()) + " x " +
           std::to_string(r.height()) + ")";
}

// The size the control needs to show its caption whole; invalid without one.
QSize CaptionNeeds(const QWidget* w) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text().isEmpty() ? QSize() : button->sizeHint();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) {
            return QSize();
        }
        return label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                 : label->sizeHint();
    }
    return QSize();
}

}  // namespace

std::vector<std::string> LayoutFaults(const QWidget& root) {
    std::vector<std::string> faults;
    std::vector<const QWidget*> placed;
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        if (!IsPlacedControl(w, root)) {
            continue;
        }
        placed.push_back(w);
        const QSize needs = CaptionNeeds(w);
        if (needs.isValid() && (needs.width() > w->width() || needs.height() > w->height())) {
            faults.push_back(Describe(w) + ": its caption needs " + std::to_string(needs.width()) +
                             " x " + std::to_string(needs.height()));
        }
        const QWidget* parent = w->parentWidget();
        if (parent != nullptr && !parent->rect().contains(w->geometry())) {
            faults.push_back(Describe(w) + " reaches outside " + Describe(parent));
        }
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t k = i + 1; k < placed.size(); ++k) {
            if (placed[i]->parentWidget() == placed[k]->parentWidget() &&
                placed[i]->geometry().intersects(placed[k]->geometry())) {
                faults.push_back(Describe(placed[i]) + " lies on " + Describe(placed[k]));
            }
        }
    }
    return faults;
}

}  // namespace zolt::test
