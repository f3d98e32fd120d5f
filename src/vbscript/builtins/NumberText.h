#pragma once

// Numbers as text for FormatNumber, FormatCurrency and FormatPercent, and the decimal rounding
// of Round. The Format functions work on the value's 15 significant decimal digits, the
// precision the language shows; Round works on the binary value, as the language does, so
// Round(2.675, 2) is 2.67 (2.675 is stored just below).

#include "vbscript/builtins/Regional.h"

#include <cstdint>
#include <string>

namespace vbscript::lib {

// Tristate arguments: -1 true, 0 false, -2 the regional setting.
inline constexpr int kTristateTrue = -1;
inline constexpr int kTristateFalse = 0;
inline constexpr int kTristateUseDefault = -2;

struct NumberFormatOptions {
    int digitsAfterDecimal = -1; // -1: the regional setting
    int includeLeadingDigit = kTristateUseDefault;
    int useParensForNegative = kTristateUseDefault;
    int groupDigits = kTristateUseDefault;
};

std::u16string formatNumber(double value, const NumberFormatOptions& options,
                            const RegionalSettings& settings);
std::u16string formatCurrency(double value, const NumberFormatOptions& options,
                              const RegionalSettings& settings);
std::u16string formatPercent(double value, const NumberFormatOptions& options,
                             const RegionalSettings& settings);

// Round(value, digits): halves go to the even neighbour. digits 0..22.
double roundHalfEvenAt(double value, int digits);

// Hex and Oct of a whole number's two's complement in `bits` bits (16 or 32).
std::u16string hexText(std::int64_t value, int bits);
std::u16string octText(std::int64_t value, int bits);

} // namespace vbscript::lib
