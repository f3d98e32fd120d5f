#pragma once

// Argument reading shared by the library's builtins: optional arguments with their defaults,
// compare modes, dates read by the regional settings, and checked whole numbers.

#include "vbscript/Conversions.h"
#include "vbscript/Object.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"
#include "vbscript/builtins/TextOps.h"

#include <cstdint>
#include <string>

namespace vbscript::lib {

inline bool isNullArg(Args args, size_t i) {
    return !args.isMissing(i) && args[i].isNull();
}

inline int32_t longArg(Args args, size_t i, int32_t fallback) {
    return args.isMissing(i) ? fallback : toLong(args[i]);
}

inline std::u16string stringArg(Args args, size_t i, std::u16string fallback = {}) {
    return args.isMissing(i) ? std::move(fallback) : toString(args[i]);
}

inline bool boolArg(Args args, size_t i, bool fallback) {
    return args.isMissing(i) ? fallback : toBool(args[i]);
}

// A length or count the language requires to be zero or more (error 5 otherwise).
inline int32_t nonNegativeArg(Args args, size_t i) {
    const int32_t n = toLong(args[i]);
    if (n < 0)
        raiseError(err::InvalidCall);
    return n;
}

// Strings a builtin builds from a count (Space, String) stay below this many characters: a
// typo such as Space(2^31) must end in error 14, not in the system running out of memory.
inline constexpr int32_t kMaxBuiltString = 1 << 28;

inline size_t builtLengthArg(Args args, size_t i) {
    const int32_t n = nonNegativeArg(args, i);
    if (n > kMaxBuiltString)
        raiseError(err::OutOfStringSpace);
    return static_cast<size_t>(n);
}

// A 1-based position (error 5 below 1).
inline int32_t positionArg(Args args, size_t i) {
    const int32_t n = toLong(args[i]);
    if (n < 1)
        raiseError(err::InvalidCall);
    return n;
}

// vbBinaryCompare 0, vbTextCompare 1; -1 (vbUseCompareOption) and 2 (database) as binary and
// text; anything else is error 5.
inline CompareMode compareArg(Args args, size_t i) {
    if (args.isMissing(i))
        return CompareMode::Binary;
    const int32_t mode = toLong(args[i]);
    if (mode < -1 || mode > 2)
        raiseError(err::InvalidCall);
    return mode >= 1 ? CompareMode::Text : CompareMode::Binary;
}

// A date argument: text is read by the current regional settings, anything else as CDate.
double dateArg(const Value& v);

// The current year of the local clock, for dates written without one.
int currentLocalYear();

} // namespace vbscript::lib
