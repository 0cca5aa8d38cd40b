#include "toolkit/NumericField.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zolt {

NumericField::NumericField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &NumericField::followText);
}

namespace {

// The number in `text`, or none. Magnitudes beyond the 32-bit range are cut
// to one past it, which is all that the callers need to know about them.
std::optional<std::int64_t> ReadWide(const QString& text) {
    const bool negative = text.startsWith(u'-');
    const qsizetype first = negative ? 1 : 0;
    if (text.size() <= first) {
        return std::nullopt;
    }
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<int>::max()} + 2;
    std::int64_t magnitude = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = std::min(kCap, magnitude * 10 + (c - u'0'));
    }
    return negative ? -magnitude : magnitude;
}

int Clamped(std::int64_t wide, int minValue, int maxValue) {
    int number = static_cast<int>(std::clamp<std::int64_t>(wide, std::numeric_limits<int>::min(),
                                                           std::numeric_limits<int>::max()));
    if (minValue != maxValue) {
        number = std::clamp(number, std::min(minValue, maxValue), std::max(minValue, maxValue));
    }
    return number;
}

}  // namespace

std::optional<int> NumericField::ReadValue(const QString& text, int minValue, int maxValue) {
    const std::optional<std::int64_t> wide = ReadWide(text);
    if (!wide) {
        return std::nullopt;
    }
    return Clamped(*wide, minValue, maxValue);
}

void NumericField::setValue(int value) {
    setText(QString::number(Clamped(value, minValue_, maxValue_)));
}

void NumericField::setMinValue(int minValue) {
    minValue_ = minValue;
    applyBounds();
}

void NumericField::setMaxValue(int maxValue) {
    maxValue_ = maxValue;
    applyBounds();
}

void NumericField::applyBounds() {
    if (ReadWide(text())) {
        followText(text());
        return;
    }
    const int number = Clamped(value_, minValue_, maxValue_);
    if (number != value_) {
        value_ = number;
        emit valueChanged(value_);
    }
}

void NumericField::followText(const QString& text) {
    const std::optional<std::int64_t> wide = ReadWide(text);
    if (!wide) {
        return;
    }
    const int number = Clamped(*wide, minValue_, maxValue_);
    if (number != value_) {
        value_ = number;
        emit valueChanged(value_);
    }
    // "007" stays as typed; only a number that saturation or the bounds
    // changed is rewritten.
    if (*wide != number) {
        setText(QString::number(number));
    }
}

bool NumericField::acceptsTyped(const QString& typed) const {
    const qsizetype at = hasSelectedText() ? selectionStart() : cursorPosition();
    QString rest = text();
    if (hasSelectedText()) {
        rest.remove(selectionStart(), selectedText().size());
    }
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c >= u'0' && c <= u'9') {
            continue;
        }
        if (c == u'-' && at + i == 0 && !rest.contains(u'-')) {
            continue;
        }
        return false;
    }
    return true;
}

void NumericField::refuse() {
    emit keyRefused();
    QApplication::beep();
}

void NumericField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        refuse();
        event->accept();
        return;
    }
    // Ctrl together with Alt is AltGr on some systems, which types characters.
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shortcut =
        (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
    const QString typed = event->text();
    // Shortcuts (the clipboard ones among them), editing and moving keys, and
    // control characters such as backspace go to the line edit as usual.
    const bool control =
        typed.isEmpty() || shortcut || std::all_of(typed.begin(), typed.end(), [](QChar c) {
            return c.unicode() < 32 || c.unicode() == 127;
        });
    if (control) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!acceptsTyped(typed)) {
        refuse();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace zolt
