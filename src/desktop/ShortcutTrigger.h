#pragma once

#include <QString>

namespace desktop {

// A combination in the form the desktop's shortcut settings take ("CTRL+ALT+Z", "LOGO+space"):
// `mask` 1 Alt, 2 Ctrl, 4 Shift, 8 Windows; the key as its keysym name, letters in upper case.
// "" for the empty combination and for keys that have no name there.
QString shortcutTrigger(int mask, int virtualKey);

// The same combination as a Qt key combination (Qt::META | Qt::Key_Z), 0 for keys without one.
int qtKeyCombination(int mask, int virtualKey);

} // namespace desktop
