#pragma once

#include <Qt>

namespace platform {

// Modifier state of key names: 1 Shift, 2 Ctrl, 4 Alt.
enum KeyShiftBits { kShiftBit = 1, kCtrlBit = 2, kAltBit = 4 };

// The virtual-key code of a Qt key: letters 65-90, digits 48-57, keypad digits 96-105, F1-F24
// 112-135, the named keys (BackSpace 8, Tab 9, Enter 13, Esc 27, Space 32, PageUp 33 ... Down 40,
// Insert 45, Delete 46), modifiers and locks, keypad operators and the punctuation keys. 0 for
// keys without a code. A keypad digit is told apart by Qt::KeypadModifier.
int virtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The same for an X11 keysym (the unshifted symbol of a physical key); 0 when unknown.
int virtualKeyFromKeysym(unsigned keysym);

// The X11 keysym of a virtual-key code's key, unshifted (letters in lower case, keypad digits as
// keypad keysyms); 0 for codes without one.
unsigned keysymFromVirtualKey(int virtualKey);

int shiftStateFromQtModifiers(Qt::KeyboardModifiers modifiers);

} // namespace platform
