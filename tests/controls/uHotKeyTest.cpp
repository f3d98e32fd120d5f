#include "controls/uHotKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// One key event: press or release of a Qt key with the modifiers held during it.
struct Stroke {
    bool press;
    int key;
    Qt::KeyboardModifiers modifiers;
};

struct ComboCase {
    const char* name;
    std::vector<Stroke> strokes;
    std::vector<const char*> shown; // the text after each stroke
    int hotKey;
    int mask;
};

class HotKeyBox : public ::testing::TestWithParam<ComboCase> {};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
const Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;
const Qt::KeyboardModifiers kAll =
    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;

TEST_P(HotKeyBox, ShowsAndStoresTheCombination) {
    const ComboCase& c = GetParam();
    controls::uHotKey box;
    box.show();
    QLineEdit* text = box.textBox();
    ASSERT_EQ(c.strokes.size(), c.shown.size());
    for (size_t i = 0; i < c.strokes.size(); ++i) {
        const Stroke& s = c.strokes[i];
        if (s.press)
            QTest::keyPress(text, Qt::Key(s.key), s.modifiers);
        else
            QTest::keyRelease(text, Qt::Key(s.key), s.modifiers);
        EXPECT_EQ(box.Text(), QString::fromUtf8(c.shown[i])) << "after stroke " << i;
    }
    EXPECT_EQ(box.HotKey(), c.hotKey);
    EXPECT_EQ(box.Mask(), c.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, HotKeyBox,
    ::testing::Values(
        // X11 reports a modifier key's own press without its modifier; the key counts.
        ComboCase{"ctrlAltA",
                  {{true, Qt::Key_Control, kNone},
                   {true, Qt::Key_Alt, kCtrl},
                   {true, Qt::Key_A, kCtrlAlt},
                   {false, Qt::Key_A, kCtrlAlt}},
                  {"Ctrl + ", "Ctrl + Alt + ", "Ctrl + Alt + A", "Ctrl + Alt + A"},
                  65,
                  3},
        ComboCase{"shiftKeypad3",
                  {{true, Qt::Key_3, Qt::ShiftModifier | Qt::KeypadModifier}},
                  {"Shift + Num3"},
                  99,
                  4},
        ComboCase{"f5Alone", {{true, Qt::Key_F5, kNone}}, {"F5"}, 116, 0},
        ComboCase{"allFourInFixedOrder",
                  {{true, Qt::Key_Z, kAll}},
                  {"Ctrl + Shift + Alt + Windows + Z"},
                  90,
                  15},
        ComboCase{"superIsWindows",
                  {{true, Qt::Key_Super_L, kNone}, {true, Qt::Key_Down, Qt::MetaModifier}},
                  {"Windows + ", "Windows + ↓"},
                  40,
                  8},
        ComboCase{"modifiersOnlyEndEmpty",
                  {{true, Qt::Key_Control, kNone},
                   {true, Qt::Key_Alt, kCtrl},
                   {false, Qt::Key_Alt, kCtrlAlt}},
                  {"Ctrl + ", "Ctrl + Alt + ", "(なし)"},
                  0,
                  3},
        ComboCase{"unnamedKeyWithCtrl",
                  {{true, Qt::Key_Space, kCtrl}, {false, Qt::Key_Space, kCtrl}},
                  {"Ctrl + ", "(なし)"},
                  0,
                  2},
        ComboCase{"backspaceClears",
                  {{true, Qt::Key_A, kCtrlAlt}, {true, Qt::Key_Backspace, kNone}},
                  {"Ctrl + Alt + A", "(なし)"},
                  0,
                  0},
        ComboCase{"altDigitIsNotAShortcut", {{true, Qt::Key_7, kAlt}}, {"Alt + 7"}, 55, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HotKeyProperties, SettersShowNoneForUnnamedCodesAndAnEmptyMask) {
    controls::uHotKey box;
    QSignalSpy changes(&box, &controls::uHotKey::Change);
    box.setMask(3);
    box.setHotKey(65);
    EXPECT_EQ(box.Text(), QStringLiteral("Ctrl + Alt + A"));
    box.setHotKey(32); // Space has no name here
    EXPECT_EQ(box.Text(), QStringLiteral("(なし)"));
    EXPECT_EQ(box.HotKey(), 65) << "the previous code stays";
    box.setMask(0);
    EXPECT_EQ(box.Text(), QStringLiteral("(なし)"));
    EXPECT_EQ(box.HotKey(), 65);
    EXPECT_EQ(changes.count(), 4);
}

TEST(HotKeyProperties, TypedCharactersNeverReachTheText) {
    controls::uHotKey box;
    box.show();
    QKeyEvent kana(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("あ"));
    QApplication::sendEvent(box.textBox(), &kana);
    QTest::keyClick(box.textBox(), Qt::Key_Period);
    EXPECT_EQ(box.Text(), QStringLiteral("(なし)"));
}

} // namespace
