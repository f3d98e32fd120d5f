#include "HotKeyModifiers.h"

#include <algorithm>

namespace desktop {

namespace {

constexpr std::uint16_t kShift = 1u << 0;
constexpr std::uint16_t kLock = 1u << 1;
constexpr std::uint16_t kControl = 1u << 2;

constexpr std::uint32_t kNumLock = 0xff7f;
constexpr std::uint32_t kScrollLock = 0xff14;
constexpr std::uint32_t kAltL = 0xffe9, kAltR = 0xffea, kMetaL = 0xffe7, kMetaR = 0xffe8;
constexpr std::uint32_t kSuperL = 0xffeb, kSuperR = 0xffec;

// The first of Mod1 ... Mod5 whose keys carry one of the keysyms, or 0.
std::uint16_t modifierWith(const ModifierKeysyms& keysyms,
                           std::initializer_list<std::uint32_t> wanted) {
    for (int index = 3; index < 8; ++index) {
        for (const std::uint32_t sym : keysyms[index]) {
            if (std::find(wanted.begin(), wanted.end(), sym) != wanted.end())
                return std::uint16_t(1u << index);
        }
    }
    return 0;
}

} // namespace

ModifierBits modifierBitsFromKeysyms(const ModifierKeysyms& keysyms) {
    ModifierBits bits;
    // Meta only where no key says Alt: some layouts put Meta on its own modifier.
    if (std::uint16_t alt = modifierWith(keysyms, {kAltL, kAltR}))
        bits.alt = alt;
    else if (std::uint16_t meta = modifierWith(keysyms, {kMetaL, kMetaR}))
        bits.alt = meta;
    if (std::uint16_t super = modifierWith(keysyms, {kSuperL, kSuperR}))
        bits.super = super;
    bits.numLock = modifierWith(keysyms, {kNumLock});
    bits.scrollLock = modifierWith(keysyms, {kScrollLock});
    return bits;
}

std::uint16_t grabModifiers(int mask, const ModifierBits& bits) {
    std::uint16_t modifiers = 0;
    if (mask & 1)
        modifiers |= bits.alt;
    if (mask & 2)
        modifiers |= kControl;
    if (mask & 4)
        modifiers |= kShift;
    if (mask & 8)
        modifiers |= bits.super;
    return modifiers;
}

std::vector<std::uint16_t> lockCombinations(const ModifierBits& bits,
                                            std::uint16_t hotKeyModifiers) {
    std::vector<std::uint16_t> locks;
    for (const std::uint16_t lock : {kLock, bits.numLock, bits.scrollLock}) {
        if (lock && !(lock & hotKeyModifiers) &&
            std::find(locks.begin(), locks.end(), lock) == locks.end())
            locks.push_back(lock);
    }
    std::vector<std::uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        std::uint16_t combination = 0;
        for (size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i))
                combination |= locks[i];
        }
        combinations.push_back(combination);
    }
    return combinations;
}

std::uint16_t significantModifiers(const ModifierBits& bits) {
    return std::uint16_t(kShift | kControl | bits.alt | bits.super);
}

} // namespace desktop
