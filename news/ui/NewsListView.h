#pragma once

#include <QTreeWidget>

#include <functional>
#include <utility>

namespace zolt {

// The news window's list: a report-style list that asks its owner before the
// user moves the selection, so that the owner can refuse while it is busy.
class NewsListView : public QTreeWidget {
    Q_OBJECT
  public:
    // Returns false to refuse the change.
    using ChangingHandler = std::function<bool()>;

    explicit NewsListView(QWidget* parent = nullptr);
    void setChangingHandler(ChangingHandler handler) { changing_ = std::move(handler); }

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool changeAllowed() const { return !changing_ || changing_(); }

    ChangingHandler changing_;
};

}  // namespace zolt
