#include "vbscript/builtins/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vbscript::lib {

namespace {

struct FixedDigits {
    bool negative = false;
    std::string integer = "0";
    std::string fraction;
};

bool allZero(const std::string& s) {
    return s.find_first_not_of('0') == std::string::npos;
}

// The value in fixed notation with `places` fraction digits, rounded from its 15 significant
// digits.
FixedDigits toFixed(double value, int places) {
    FixedDigits out;
    out.fraction.assign(size_t(places), '0');
    if (value == 0 || !std::isfinite(value))
        return out;
    out.negative = value < 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits.push_back(*p);
    const int exponent = std::atoi(p + 1);
    int point = exponent + 1;
    if (point <= 0) {
        digits.insert(0, size_t(1 - point), '0');
        point = 1;
    }
    if (point > int(digits.size()))
        digits.append(size_t(point) - digits.size(), '0');
    std::string integer = digits.substr(0, size_t(point));
    std::string fraction = digits.substr(size_t(point));
    if (int(fraction.size()) <= places) {
        fraction.append(size_t(places) - fraction.size(), '0');
    } else {
        std::string kept = integer + fraction.substr(0, size_t(places));
        if (fraction[size_t(places)] >= '5') { // halves away from zero
            int i = int(kept.size()) - 1;
            while (i >= 0 && kept[size_t(i)] == '9')
                kept[size_t(i--)] = '0';
            if (i < 0) {
                kept.insert(kept.begin(), '1');
                integer.insert(integer.begin(), '0'); // one more integer digit
            } else {
                ++kept[size_t(i)];
            }
        }
        integer = kept.substr(0, integer.size());
        fraction = kept.substr(integer.size());
    }
    const size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? "0" : integer.substr(firstNonZero);
    out.integer = integer;
    out.fraction = fraction;
    if (allZero(out.integer) && allZero(out.fraction))
        out.negative = false;
    return out;
}

bool resolve(int tristate, bool regionalDefault) {
    if (tristate == kTristateUseDefault)
        return regionalDefault;
    return tristate != kTristateFalse;
}

// The number without its sign, with grouping and the leading-zero choice applied.
std::u16string body(const FixedDigits& d, const NumberFormatOptions& options,
                    const RegionalSettings& settings) {
    std::u16string out;
    const bool group = resolve(options.groupDigits, true);
    const bool leading = resolve(options.includeLeadingDigit, true);
    if (!(d.integer == "0" && !leading && !d.fraction.empty())) {
        const size_t n = d.integer.size();
        for (size_t i = 0; i < n; ++i) {
            if (group && i > 0 && (n - i) % 3 == 0)
                out.push_back(settings.groupSeparator);
            out.push_back(char16_t(d.integer[i]));
        }
    }
    if (!d.fraction.empty()) {
        out.push_back(settings.decimalSeparator);
        for (char c : d.fraction)
            out.push_back(char16_t(c));
    }
    return out;
}

std::u16string signed_(const FixedDigits& d, std::u16string text,
                       const NumberFormatOptions& options) {
    if (!d.negative)
        return text;
    if (resolve(options.useParensForNegative, false))
        return u"(" + text + u")";
    return u"-" + text;
}

int placesOf(const NumberFormatOptions& options, int regionalDigits) {
    return options.digitsAfterDecimal < 0 ? regionalDigits : options.digitsAfterDecimal;
}

std::u16string inBase(std::uint64_t value, int shift, unsigned mask) {
    if (value == 0)
        return u"0";
    std::u16string out;
    while (value != 0) {
        out.insert(out.begin(), u"0123456789ABCDEF"[value & mask]);
        value >>= shift;
    }
    return out;
}

std::uint64_t twosComplement(std::int64_t value, int bits) {
    const std::uint64_t mask = bits >= 64 ? ~0ull : ((1ull << bits) - 1);
    return static_cast<std::uint64_t>(value) & mask;
}

} // namespace

std::u16string formatNumber(double value, const NumberFormatOptions& options,
                            const RegionalSettings& settings) {
    const FixedDigits d = toFixed(value, placesOf(options, settings.numberDigits));
    return signed_(d, body(d, options, settings), options);
}

std::u16string formatCurrency(double value, const NumberFormatOptions& options,
                              const RegionalSettings& settings) {
    const FixedDigits d = toFixed(value, placesOf(options, settings.currencyDigits));
    return signed_(d, settings.currencySymbol + body(d, options, settings), options);
}

std::u16string formatPercent(double value, const NumberFormatOptions& options,
                             const RegionalSettings& settings) {
    const FixedDigits d = toFixed(value * 100, placesOf(options, settings.numberDigits));
    return signed_(d, body(d, options, settings) + u"%", options);
}

double roundHalfEvenAt(double value, int digits) {
    if (!std::isfinite(value) || value == 0)
        return value;
    // printf rounds the exact binary value, ties to even: 1233.715 is stored just below and
    // becomes 1233.71, as the language's Round does.
    const int length = std::snprintf(nullptr, 0, "%.*f", digits, value);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", digits, value);
    const double r = std::strtod(text.c_str(), nullptr);
    return r == 0 ? 0.0 : r;
}

std::u16string hexText(std::int64_t value, int bits) {
    return inBase(twosComplement(value, bits), 4, 15);
}

std::u16string octText(std::int64_t value, int bits) {
    return inBase(twosComplement(value, bits), 3, 7);
}

} // namespace vbscript::lib
