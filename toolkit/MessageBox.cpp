#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "util/Text.h"

namespace zolt {

bool ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text) {
    QMessageBox box(parent);
    box.setObjectName("msgMain");
    QString title = parent != nullptr ? parent->window()->windowTitle() : QString();
    if (title.isEmpty()) {
        title = QApplication::applicationDisplayName();
    }
    box.setWindowTitle(title);
    box.setText(ToQString(text));
    switch (kind) {
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageKind::Question:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
    }
    return box.exec() == QMessageBox::Ok;
}

bool MessageBox::Show(MessageKind kind, const std::string& text) const {
    if (answer_) {
        return answer_(kind, text);
    }
    QWidget* active = QApplication::activeWindow();
    return ShowMessageBox(active != nullptr ? active : owner_, kind, text);
}

}  // namespace zolt
