#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "toolkit/NumericField.h"

namespace zolt {
namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

TEST(NumericFieldReadValue, ReadsWholeNumbersClampedToTheBounds) {
    struct Row {
        const char16_t* text;
        int lo, hi;
        std::optional<int> value;
    };
    const Row rows[] = {
        {u"", 0, 10000, std::nullopt},
        {u"-", 0, 0, std::nullopt},
        {u"--5", 0, 0, std::nullopt},
        {u"5-", 0, 0, std::nullopt},
        {u"+5", 0, 0, std::nullopt},
        {u" 5", 0, 0, std::nullopt},
        {u"12a", 0, 0, std::nullopt},
        {u"1.5", 0, 0, std::nullopt},
        {u"\u0663", 0, 0, std::nullopt},  // an Arabic-Indic digit is not one of ours
        {u"\uFF15", 0, 0, std::nullopt},  // nor is a full-width one
        {u"0", 0, 10000, 0},
        {u"007", 0, 10000, 7},
        {u"-0", 0, 10000, 0},
        {u"20000", 0, 10000, 10000},
        {u"-5", 0, 10000, 0},
        {u"-5", 0, 0, -5},
        {u"20000", 5, 5, 20000},  // equal bounds mean none
        {u"3", 10, 20, 10},
        {u"2147483647", 0, 0, kMax},
        {u"2147483648", 0, 0, kMax},
        {u"99999999999999999999999", 0, 0, kMax},
        {u"-2147483648", 0, 0, kMin},
        {u"-2147483649", 0, 0, kMin},
        {u"-99999999999999999999999", 0, 0, kMin},
        {u"99999999999999999999999", 0, 10000, 10000},
        {u"-99999999999999999999999", -100, 100, -100},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(NumericField::ReadValue(text, row.lo, row.hi), row.value)
            << text.toStdString() << " in " << row.lo << ".." << row.hi;
    }
}

class NumericFieldTyping : public ::testing::Test {
  protected:
    void SetUp() override {
        field.setMinValue(0);
        field.setMaxValue(10000);
        field.setValue(10);
        field.show();
    }

    // Types over the whole text, as a user who selects it first.
    void typeOver(const QString& keys) {
        field.selectAll();
        QTest::keyClicks(&field, keys);
    }

    NumericField field;
};

TEST_F(NumericFieldTyping, ValueFollowsTheTextAndClampsWithTheTextRewritten) {
    struct Row {
        const char* typed;
        const char* text;
        int value;
    };
    const Row rows[] = {
        {"20000", "10000", 10000}, {"-5", "0", 0}, {"007", "007", 7},
        {"10000", "10000", 10000}, {"0", "0", 0},  {"123456", "10000", 10000},
        {"42", "42", 42},
    };
    for (const Row& row : rows) {
        typeOver(row.typed);
        EXPECT_EQ(field.text().toStdString(), row.text) << row.typed;
        EXPECT_EQ(field.value(), row.value) << row.typed;
    }
}

TEST_F(NumericFieldTyping, TextThatIsNoNumberKeepsTheLastValue) {
    typeOver("007");
    field.clear();
    EXPECT_EQ(field.value(), 7);
    QTest::keyClicks(&field, "-");
    EXPECT_EQ(field.text(), "-");
    EXPECT_EQ(field.value(), 7);
    QGuiApplication::clipboard()->setText("12abc");
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "12abc");
    EXPECT_EQ(field.value(), 7);
    QGuiApplication::clipboard()->setText("99999");
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "10000");
    EXPECT_EQ(field.value(), 10000);
}

TEST_F(NumericFieldTyping, RefusesEverythingButDigitsAndOneLeadingMinus) {
    QSignalSpy refused(&field, &NumericField::keyRefused);
    typeOver("12");
    for (const char* keys : {"a", "+", " ", ".", ",", "e", "x"}) {
        QTest::keyClicks(&field, keys);
    }
    // Characters typed with AltGr (Ctrl+Alt on some systems) are refused too.
    QTest::keyClick(&field, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(field.text(), "12");
    EXPECT_EQ(refused.count(), 8);

    // A minus sign only in first place and only once.
    QTest::keyClicks(&field, "-");
    EXPECT_EQ(field.text(), "12");
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClicks(&field, "-");
    EXPECT_EQ(field.text(), "0");  // -12 clamped to the lower bound
    EXPECT_EQ(refused.count(), 9);

    field.setMinValue(0);
    field.setMaxValue(0);
    typeOver("-12");
    EXPECT_EQ(field.value(), -12);
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClicks(&field, "-");
    EXPECT_EQ(field.text(), "-12");
    EXPECT_EQ(refused.count(), 10);
    // Typing over a selection that holds the minus may bring a new one.
    typeOver("-3");
    EXPECT_EQ(field.value(), -3);
    EXPECT_EQ(refused.count(), 10);
}

TEST_F(NumericFieldTyping, EnterIsRefusedAndArrowsDoNotStep) {
    QSignalSpy refused(&field, &NumericField::keyRefused);
    QSignalSpy returned(&field, &QLineEdit::returnPressed);
    typeOver("50");
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(refused.count(), 2);
    EXPECT_EQ(returned.count(), 0);
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}) {
        QTest::keyClick(&field, key);
    }
    EXPECT_EQ(field.text(), "50");
    EXPECT_EQ(field.value(), 50);
    EXPECT_EQ(refused.count(), 2);
}

TEST_F(NumericFieldTyping, ControlKeysEditAsUsual) {
    typeOver("1234");
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.value(), 123);
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(field.text(), "23");
    EXPECT_EQ(field.value(), 23);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "23");
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.value(), 23);
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "23");
}

TEST_F(NumericFieldTyping, BeyondThirtyTwoBitsSaturatesThenClamps) {
    typeOver("99999999999");
    EXPECT_EQ(field.text(), "10000");
    field.setMaxValue(0);
    typeOver("99999999999");
    EXPECT_EQ(field.value(), kMax);
    EXPECT_EQ(field.text(), "2147483647");
    typeOver("-99999999999");
    EXPECT_EQ(field.value(), kMin);
    EXPECT_EQ(field.text(), "-2147483648");
}

TEST(NumericField, SetValueAndBounds) {
    NumericField field;
    QSignalSpy changed(&field, &NumericField::valueChanged);
    EXPECT_FALSE(field.hasBounds());
    field.setValue(-7);
    EXPECT_EQ(field.text(), "-7");
    EXPECT_EQ(field.value(), -7);
    field.setMaxValue(100);
    EXPECT_TRUE(field.hasBounds());
    EXPECT_EQ(field.value(), 0);
    EXPECT_EQ(field.text(), "0");
    field.setValue(500);
    EXPECT_EQ(field.value(), 100);
    EXPECT_EQ(field.text(), "100");
    // Bounds that change under a text that is no number still apply to the value.
    field.setText("");
    field.setMaxValue(50);
    EXPECT_EQ(field.value(), 50);
    field.setMinValue(50);
    field.setValue(123456);
    EXPECT_EQ(field.value(), 123456);
    ASSERT_GE(changed.count(), 5);
    EXPECT_EQ(changed.last().at(0).toInt(), 123456);
}

}  // namespace
}  // namespace zolt
