#include "NumericText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace numtext {

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trimmed(std::u16string_view t) {
    while (!t.empty() && isBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back()))
        t.remove_suffix(1);
    return t;
}

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view lowerAscii) {
    if (a.size() != lowerAscii.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t c = a[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != lowerAscii[i])
            return false;
    }
    return true;
}

int digitValue(char16_t c, int radix) {
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c - u'A' + 10;
    return v < radix ? v : -1;
}

} // namespace

std::optional<double> parseNumber(std::u16string_view text) {
    std::u16string_view t = trimmed(text);
    if (t.empty())
        return std::nullopt;
    if (t.front() == u'&') {
        const auto r = parseRadixDigits(t);
        if (!r)
            return std::nullopt;
        // Up to 4 hex (6 octal) digits read as a 16-bit Integer, longer ones as 32 bits.
        if (r->value <= 0xFFFF && r->digits <= (r->radix == 16 ? 4u : 6u))
            return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(r->value)));
        return static_cast<double>(static_cast<int32_t>(r->value));
    }

    std::string ascii;
    ascii.reserve(t.size());
    size_t i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        ascii.push_back(static_cast<char>(t[i++]));
    size_t digits = 0;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
        ascii.push_back(static_cast<char>(t[i++]));
        ++digits;
    }
    if (i < t.size() && t[i] == u'.') {
        ascii.push_back('.');
        ++i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ascii.push_back(static_cast<char>(t[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'E' || t[i] == u'e')) {
        ascii.push_back('e');
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ascii.push_back(static_cast<char>(t[i++]));
        size_t expDigits = 0;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            ascii.push_back(static_cast<char>(t[i++]));
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    // The process locale may use a decimal comma (QCoreApplication adopts the user's locale);
    // the numbers here always use ".".
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const double value = strtod_l(ascii.c_str(), nullptr, cLocale);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<RadixDigits> parseRadixDigits(std::u16string_view text) {
    std::u16string_view t = trimmed(text);
    if (t.empty() || t.front() != u'&')
        return std::nullopt;
    t.remove_prefix(1);
    RadixDigits out;
    if (!t.empty() && (t.front() == u'H' || t.front() == u'h')) {
        out.radix = 16;
        t.remove_prefix(1);
    } else if (!t.empty() && (t.front() == u'O' || t.front() == u'o')) {
        t.remove_prefix(1);
    }
    if (t.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : t) {
        const int d = digitValue(c, out.radix);
        if (d < 0)
            return std::nullopt;
        value = value * static_cast<uint64_t>(out.radix) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    out.value = static_cast<uint32_t>(value);
    out.digits = t.size();
    return out;
}

double roundHalfEven(double value) {
    const double r = std::nearbyint(value); // default rounding mode is to-nearest-even
    return r == 0.0 ? 0.0 : r;
}

namespace {
bool roundsInto(std::u16string_view text, double lo, double hi) {
    const auto v = parseNumber(text);
    if (!v)
        return false;
    const double r = roundHalfEven(*v);
    return r >= lo && r <= hi;
}
} // namespace

bool isBool(std::u16string_view text) {
    const auto t = trimmed(text);
    return equalsIgnoreCase(t, u"true") || equalsIgnoreCase(t, u"false") ||
           parseNumber(text).has_value();
}

bool isInt(std::u16string_view text) {
    return roundsInto(text, -32768.0, 32767.0);
}
bool isLng(std::u16string_view text) {
    return roundsInto(text, -2147483648.0, 2147483647.0);
}

bool isSng(std::u16string_view text) {
    const auto v = parseNumber(text);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max())
        return false;
    // The whole-number check applies to the single-precision value.
    const double r = roundHalfEven(static_cast<float>(*v));
    return r >= -32768.0 && r <= 32767.0;
}

bool toBool(std::u16string_view text) {
    const auto t = trimmed(text);
    if (equalsIgnoreCase(t, u"true"))
        return true;
    if (equalsIgnoreCase(t, u"false"))
        return false;
    const auto v = parseNumber(text);
    return v && *v != 0.0;
}

// Out-of-range input is clamped rather than converted: a float-to-int conversion that does not fit
// is undefined behaviour.
int toLng(std::u16string_view text) {
    const auto v = parseNumber(text);
    if (!v)
        return 0;
    const double r = roundHalfEven(*v);
    if (r <= -2147483648.0)
        return std::numeric_limits<int>::min();
    if (r >= 2147483647.0)
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

float toSng(std::u16string_view text) {
    const auto v = parseNumber(text);
    if (!v)
        return 0.0f;
    const double limit = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(*v, -limit, limit));
}

} // namespace numtext
