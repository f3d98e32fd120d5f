#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The X11 side of a hotkey's modifiers, free of any connection so that it can be checked alone.
namespace desktop {

// The modifier bits the keyboard's modifier mapping gives the keys that matter for hotkeys.
// Shift, Lock and Control are fixed by the protocol; the others depend on the keyboard.
struct ModifierBits {
    std::uint16_t alt = 1u << 3;   // Mod1 on nearly every keyboard
    std::uint16_t super = 1u << 6; // Mod4
    std::uint16_t numLock = 0;     // 0: no key carries it
    std::uint16_t scrollLock = 0;
};

// The keysyms on the keys of each of the eight modifiers (Shift, Lock, Control, Mod1 ... Mod5),
// as the modifier mapping and the keyboard mapping give them.
using ModifierKeysyms = std::array<std::vector<std::uint32_t>, 8>;

ModifierBits modifierBitsFromKeysyms(const ModifierKeysyms& keysyms);

// The X11 modifiers of a hotkey mask (1 Alt, 2 Ctrl, 4 Shift, 8 Windows).
std::uint16_t grabModifiers(int mask, const ModifierBits& bits);

// Every combination of the lock modifiers (Caps Lock, Num Lock, Scroll Lock) that is on a key,
// without the bits the hotkey itself uses, each once, starting with none: a grab is made for each,
// so that the hotkey works whatever lock is on.
std::vector<std::uint16_t> lockCombinations(const ModifierBits& bits,
                                            std::uint16_t hotKeyModifiers);

// The modifier bits that tell one hotkey from another in a key event's state: locks left out.
std::uint16_t significantModifiers(const ModifierBits& bits);

} // namespace desktop
