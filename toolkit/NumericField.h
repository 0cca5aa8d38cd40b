#pragma once

#include <QLineEdit>

#include <optional>

namespace zolt {

// A single-line field for a whole number. Typing takes digits, one leading
// minus sign and control keys; Enter and everything else are refused with a
// beep, and the arrow keys do not step. Each text change that reads as a
// whole number sets the value, clamped to the bounds (equal bounds mean
// none), and rewrites the text when clamping changed the number. Other text,
// such as an empty field or something pasted, keeps the last valid value.
class NumericField : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(int minValue READ minValue WRITE setMinValue)
    Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue)

  public:
    explicit NumericField(QWidget* parent = nullptr);

    int value() const { return value_; }
    int minValue() const { return minValue_; }
    int maxValue() const { return maxValue_; }
    bool hasBounds() const { return minValue_ != maxValue_; }

    // The number that `text` stands for in a field with these bounds: an
    // optional minus in first place and at least one digit, nothing else.
    // Digits beyond the 32-bit range saturate before the bounds apply.
    static std::optional<int> ReadValue(const QString& text, int minValue, int maxValue);

  public slots:
    void setValue(int value);
    void setMinValue(int minValue);
    void setMaxValue(int maxValue);

  signals:
    void valueChanged(int value);
    // A key was refused (and the beep sounded).
    void keyRefused();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void followText(const QString& text);
    void applyBounds();
    bool acceptsTyped(const QString& typed) const;
    void refuse();

    int value_ = 0;
    int minValue_ = 0;
    int maxValue_ = 0;
};

}  // namespace zolt
