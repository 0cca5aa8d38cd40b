#pragma once

#include <QObject>

class QWidget;

namespace zolt {

// Keeps `child` at a fixed distance from its parent's right edge, whatever
// the parent's width or the child's own width.
void AnchorRight(QWidget* child, int rightMargin);

class RightAnchor : public QObject {
    Q_OBJECT
  public:
    RightAnchor(QWidget* child, int rightMargin);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void place();

  private:
    QWidget* child_;
    int margin_;
};

}  // namespace zolt
