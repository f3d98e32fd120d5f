#pragma once

// Numeric text as the program reads it, shared by the settings store and the script engine.
// Free of Qt on purpose: the script engine is a library of its own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace numtext {

// Blanks (spaces and tabs) at both ends ignored; an optional sign; decimal digits with an optional
// fraction and an optional exponent ("E" or "e", optional sign, digits); or "&H" hexadecimal and
// "&O" (or "&") octal, read as 16-bit signed up to 4 hex digits (6 octal) and 32-bit signed up to
// 8 hex digits (11 octal). Anything else, including empty text, gives nullopt.
std::optional<double> parseNumber(std::u16string_view text);

// "&H" hexadecimal, "&O" or "&" octal digits (blanks at both ends ignored) as an unsigned number
// of at most 32 bits, with the count of digits written; nullopt for any other text.
struct RadixDigits {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    int radix = 8;
};
std::optional<RadixDigits> parseRadixDigits(std::u16string_view text);

// Rounds to a whole number with halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// The conversion checks of the settings store.
bool isBool(std::u16string_view text); // True/False in any case, or any number
bool isInt(std::u16string_view text);  // rounds into -32768..32767
bool isLng(std::u16string_view text);  // rounds into -2147483648..2147483647
bool isSng(std::u16string_view text);  // single range and rounds into -32768..32767

// The converted values; only meaningful where the matching check accepts the text.
bool toBool(std::u16string_view text);
int toLng(std::u16string_view text);
float toSng(std::u16string_view text);

} // namespace numtext
