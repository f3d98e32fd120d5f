#include "controls/uSpinButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct TypingCase {
    const char* name;
    int value;        // before typing
    const char* keys; // typed after selecting the end of the text; '<' is Backspace
    const char* text; // what the box shows afterwards
    int expectedValue;
};

class SpinTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(SpinTyping, TypedTextIsPutBackOrTaken) {
    const TypingCase& c = GetParam();
    controls::uSpinButton spin;
    spin.setMax(23);
    spin.setValue(c.value);
    spin.show();
    QSignalSpy changes(&spin, &controls::uSpinButton::Change);
    QLineEdit* box = spin.textBox();
    box->setFocus();
    box->setCursorPosition(int(box->text().size()));
    for (const QChar k : QString::fromUtf8(c.keys)) {
        if (k == QLatin1Char('<')) {
            QTest::keyClick(box, Qt::Key_Backspace);
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(k));
            QApplication::sendEvent(box, &press);
        }
    }
    EXPECT_EQ(box->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(spin.Value(), c.expectedValue);
    EXPECT_EQ(changes.count(), 0) << "typing never raises Change";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SpinTyping,
    ::testing::Values(TypingCase{"beyondMaxPutBack", 2, "4", "2", 2},
                      TypingCase{"leadingZeroDropped", 0, "<05", "5", 5},
                      // Emptied: the minimum is shown, the value keeps its number.
                      TypingCase{"emptiedShowsMin", 7, "<", "0", 7},
                      TypingCase{"loneMinusPutBack", 0, "<-", "0", 0},
                      TypingCase{"letterSwallowed", 1, "a", "1", 1},
                      TypingCase{"fullWidthDigitSwallowed", 1, "\xef\xbc\x92", "1", 1},
                      TypingCase{"minusAfterDigitPutBack", 1, "-", "1", 1},
                      TypingCase{"secondDigitTaken", 1, "-2", "12", 12},
                      TypingCase{"negativeBelowMinPutBack", 3, "<<-1", "3", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpinButton, ArrowsStepWithinTheBoundsAndAlwaysRaiseChange) {
    controls::uSpinButton spin;
    spin.setMax(23);
    spin.setValue(23);
    QSignalSpy changes(&spin, &controls::uSpinButton::Change);
    spin.upArrow()->click();
    EXPECT_EQ(spin.Value(), 23);
    EXPECT_EQ(changes.count(), 1);
    spin.downArrow()->click();
    EXPECT_EQ(spin.Value(), 22);
    EXPECT_EQ(spin.textBox()->text(), QStringLiteral("22"));
    EXPECT_EQ(spin.textBox()->selectedText(), QStringLiteral("22"));
    EXPECT_EQ(changes.count(), 2);
}

TEST(SpinButton, UpAndDownKeysStepOnlyWithoutModifiers) {
    controls::uSpinButton spin;
    spin.setValue(5);
    spin.show();
    QTest::keyClick(spin.textBox(), Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 6);
    QTest::keyClick(spin.textBox(), Qt::Key_Down);
    QTest::keyClick(spin.textBox(), Qt::Key_Down);
    EXPECT_EQ(spin.Value(), 4);
    QTest::keyClick(spin.textBox(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(spin.Value(), 4);
}

TEST(SpinButton, LockedIgnoresTypingKeysAndArrows) {
    controls::uSpinButton spin;
    spin.setValue(5);
    spin.setLocked(true);
    spin.show();
    QTest::keyClick(spin.textBox(), Qt::Key_Up);
    QTest::keyClicks(spin.textBox(), QStringLiteral("9"));
    EXPECT_EQ(spin.Value(), 5);
    EXPECT_EQ(spin.textBox()->text(), QStringLiteral("5"));
    EXPECT_FALSE(spin.upArrow()->isEnabled());
    spin.setEnabled(false);
    spin.setEnabled(true);
    EXPECT_FALSE(spin.upArrow()->isEnabled()) << "enabling again keeps a locked box's arrows off";
    spin.setLocked(false);
    EXPECT_TRUE(spin.upArrow()->isEnabled());
}

TEST(SpinButton, BoundsDoNotTouchTheValue) {
    controls::uSpinButton spin;
    spin.setValue(40);
    spin.setMax(10);
    EXPECT_EQ(spin.Value(), 40);
    spin.setValue(11);
    EXPECT_EQ(spin.Value(), 40);
    spin.setValue(9);
    EXPECT_EQ(spin.Value(), 9);
}

} // namespace
