#include "platform/VirtualKey.h"

namespace platform {

namespace {

int keypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 96 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

} // namespace

int virtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const int key = keypadKey(qtKey))
            return key;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: // Shift+Tab arrives as its own key
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_At:
        return 64;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Equal:
        return 187;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_Minus:
        return 189;
    case Qt::Key_Period:
        return 190;
    case Qt::Key_Slash:
        return 191;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        return 0;
    }
}

int virtualKeyFromKeysym(unsigned keysym) {
    // Latin-1 keysyms equal their characters; X11 keysyms of other keys start at 0xff00.
    if (keysym >= 'a' && keysym <= 'z')
        return int(keysym) - 32;
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9'))
        return int(keysym);
    switch (keysym) {
    case '@':
        return 64;
    case ' ':
        return 32;
    case ';':
        return 186;
    case '=':
        return 187;
    case ',':
        return 188;
    case '-':
        return 189;
    case '.':
        return 190;
    case '/':
        return 191;
    case '`':
        return 192;
    case '[':
        return 219;
    case '\\':
        return 220;
    case ']':
        return 221;
    case '\'':
        return 222;
    default:
        return 0;
    }
}

unsigned keysymFromVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return unsigned(virtualKey) + 32;
    if (virtualKey >= '0' && virtualKey <= '9')
        return unsigned(virtualKey);
    if (virtualKey >= 96 && virtualKey <= 105)
        return 0xffb0u + unsigned(virtualKey - 96); // KP_0 ...
    if (virtualKey >= 112 && virtualKey <= 135)
        return 0xffbeu + unsigned(virtualKey - 112); // F1 ...
    switch (virtualKey) {
    case 8:
        return 0xff08;
    case 9:
        return 0xff09;
    case 13:
        return 0xff0d;
    case 19:
        return 0xff13;
    case 27:
        return 0xff1b;
    case 32:
        return ' ';
    case 33:
        return 0xff55;
    case 34:
        return 0xff56;
    case 35:
        return 0xff57;
    case 36:
        return 0xff50;
    case 37:
        return 0xff51;
    case 38:
        return 0xff52;
    case 39:
        return 0xff53;
    case 40:
        return 0xff54;
    case 44:
        return 0xff61;
    case 45:
        return 0xff63;
    case 46:
        return 0xffff;
    default:
        break;
    }
    // The punctuation keys: the inverse of virtualKeyFromKeysym.
    for (unsigned symbol : {'@', ';', '=', ',', '-', '.', '/', '`', '[', '\\', ']', '\''}) {
        if (virtualKeyFromKeysym(symbol) == virtualKey)
            return symbol;
    }
    return 0;
}

int shiftStateFromQtModifiers(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= kShiftBit;
    if (modifiers & Qt::ControlModifier)
        shift |= kCtrlBit;
    if (modifiers & Qt::AltModifier)
        shift |= kAltBit;
    return shift;
}

} // namespace platform
