#include "news/ui/NewsListView.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zolt {

NewsListView::NewsListView(QWidget* parent) : QTreeWidget(parent) {}

QItemSelectionModel::SelectionFlags NewsListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
    if (!changeAllowed()) {
        return QItemSelectionModel::NoUpdate;
    }
    return QTreeWidget::selectionCommand(index, event);
}

// Refused presses are swallowed whole, so that not even the focus frame moves.
void NewsListView::mousePressEvent(QMouseEvent* event) {
    if (!changeAllowed()) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void NewsListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!changeAllowed()) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void NewsListView::keyPressEvent(QKeyEvent* event) {
    if (!changeAllowed()) {
        // Left to the window, which still closes on Escape.
        event->ignore();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace zolt
