#pragma once

class QKeyEvent;

namespace platform {

// A key-down as key names see it: the virtual-key code and the modifier state (1 Shift, 2 Ctrl,
// 4 Alt).
struct KeyStroke {
    int keyCode = 0;
    int shift = 0;
};

// Keys whose shifted symbol Qt reports (Shift+2 arrives as "@" on some layouts) fall back to the
// unshifted symbol of the physical key when an X11 connection can say what it is.
KeyStroke keyStrokeFromEvent(const QKeyEvent& event);

// The character a key-press typed, as a 16-bit code (control characters for Ctrl+letter), or 0.
int typedCharacter(const QKeyEvent& event);

// Whether Caps Lock is on, read from the X server; off where it cannot be read (no X11).
bool isCapsLockOn();

} // namespace platform
