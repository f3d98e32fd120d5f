#include "platform/VirtualKey.h"
#include "platform/gui/KeyStroke.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

TEST(VirtualKey, QtKeysMapToVirtualKeyCodes) {
    struct Row {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const Row rows[] = {
        {Qt::Key_A, Qt::NoModifier, 65},         {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_0, Qt::NoModifier, 48},         {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_0, Qt::KeypadModifier, 96},     {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_F1, Qt::NoModifier, 112},       {Qt::Key_F24, Qt::NoModifier, 135},
        {Qt::Key_Backspace, Qt::NoModifier, 8},  {Qt::Key_Tab, Qt::NoModifier, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9}, {Qt::Key_Return, Qt::NoModifier, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_Escape, Qt::NoModifier, 27},
        {Qt::Key_Space, Qt::NoModifier, 32},     {Qt::Key_PageUp, Qt::NoModifier, 33},
        {Qt::Key_PageDown, Qt::NoModifier, 34},  {Qt::Key_End, Qt::NoModifier, 35},
        {Qt::Key_Home, Qt::NoModifier, 36},      {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},        {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::NoModifier, 40},      {Qt::Key_Insert, Qt::NoModifier, 45},
        {Qt::Key_Delete, Qt::NoModifier, 46},    {Qt::Key_At, Qt::NoModifier, 64},
        {Qt::Key_CapsLock, Qt::NoModifier, 20},  {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Home, Qt::KeypadModifier, 36},  {Qt::Key_Comma, Qt::NoModifier, 188},
        {Qt::Key_Eacute, Qt::NoModifier, 0}};
    for (const Row& row : rows)
        EXPECT_EQ(platform::virtualKeyFromQtKey(row.key, row.modifiers), row.code) << row.key;
}

TEST(VirtualKey, ModifierBits) {
    EXPECT_EQ(platform::shiftStateFromQtModifiers(Qt::NoModifier), 0);
    EXPECT_EQ(platform::shiftStateFromQtModifiers(Qt::ShiftModifier), 1);
    EXPECT_EQ(platform::shiftStateFromQtModifiers(Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(platform::shiftStateFromQtModifiers(Qt::AltModifier | Qt::ShiftModifier), 5);
    EXPECT_EQ(platform::shiftStateFromQtModifiers(Qt::MetaModifier), 0);
}

TEST(VirtualKey, UnshiftedKeysyms) {
    EXPECT_EQ(platform::virtualKeyFromKeysym('q'), 81);
    EXPECT_EQ(platform::virtualKeyFromKeysym('2'), 50);
    EXPECT_EQ(platform::virtualKeyFromKeysym('@'), 64);
    EXPECT_EQ(platform::virtualKeyFromKeysym(0xff0d), 0); // Return: Qt names it already
}

TEST(KeyStroke, FromKeyEvents) {
    const QKeyEvent ctrlO(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, "\x0f");
    EXPECT_EQ(platform::keyStrokeFromEvent(ctrlO).keyCode, 79);
    EXPECT_EQ(platform::keyStrokeFromEvent(ctrlO).shift, 2);
    EXPECT_EQ(platform::typedCharacter(ctrlO), 15);
    const QKeyEvent ctrlNoText(QEvent::KeyPress, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(platform::typedCharacter(ctrlNoText), 11);
    const QKeyEvent small(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(platform::typedCharacter(small), 'a');
    const QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(platform::keyStrokeFromEvent(altF4).keyCode, 115);
    EXPECT_EQ(platform::keyStrokeFromEvent(altF4).shift, 4);
    EXPECT_EQ(platform::typedCharacter(altF4), 0);
}

TEST(KeyStroke, CapsLockIsOffWithoutAnXServer) {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        GTEST_SKIP() << "only meaningful without X11";
    EXPECT_FALSE(platform::isCapsLockOn());
}
