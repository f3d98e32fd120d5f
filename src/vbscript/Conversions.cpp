#include "Conversions.h"

#include "Context.h"
#include "Object.h"
#include "ScriptError.h"
#include "Text.h"
#include "config/NumericText.h"
#include "vbscript/builtins/DateMath.h"
#include "vbscript/builtins/DateText.h"
#include "vbscript/builtins/Regional.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

namespace vbscript {

namespace {

constexpr double kMinDate = -657434.0;        // 100-01-01
constexpr double kMaxDate = 2958465.99999999; // 9999-12-31 23:59:59
constexpr double kCurrencyMax = 922337203685477.5807;

double roundEven(double v) {
    return numtext::roundHalfEven(v);
}

[[noreturn]] void typeMismatch() {
    raiseError(err::TypeMismatch);
}

double currencyToDouble(int64_t cy) {
    return static_cast<double>(cy) / 10000.0;
}

std::u16string ascii(const char* s) {
    std::u16string out;
    while (*s)
        out.push_back(static_cast<char16_t>(*s++));
    return out;
}

// printf's %.*E output rewritten the way the language writes numbers.
std::u16string formatSignificant(double v, int digits) {
    if (v == 0.0)
        return u"0";
    if (!std::isfinite(v))
        return v != v ? u"NaN" : (v > 0 ? u"Infinity" : u"-Infinity");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", digits - 1, v);
    // buf: [-]d.dddE[+-]xx
    const char* p = buf;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    std::string mantissa;
    while (*p && *p != 'E') {
        if (*p != '.')
            mantissa.push_back(*p);
        ++p;
    }
    const int exponent = std::atoi(p + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    std::string out;
    if (negative)
        out.push_back('-');
    // Fixed notation while it needs no more than `digits` places after the point (0.001,
    // 0.333333333333333); beyond that, and from 1E+15 up, the exponent form.
    const bool scientific =
        exponent >= digits ||
        (exponent < 0 && static_cast<int>(mantissa.size()) - exponent - 1 > digits);
    if (scientific) {
        out.push_back(mantissa[0]);
        if (mantissa.size() > 1) {
            out.push_back('.');
            out.append(mantissa, 1);
        }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out.append(e);
    } else if (exponent < 0) {
        out.append("0.");
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(mantissa);
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (mantissa.size() <= intDigits) {
            out.append(mantissa);
            out.append(intDigits - mantissa.size(), '0');
        } else {
            out.append(mantissa, 0, intDigits);
            out.push_back('.');
            out.append(mantissa, intDigits);
        }
    }
    return ascii(out.c_str());
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year + 1900;
}

// Reads unsigned decimal digits; returns the count read.
int readDigits(std::u16string_view s, size_t& i, int& value) {
    int n = 0;
    value = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && n < 9) {
        value = value * 10 + (s[i] - u'0');
        ++i;
        ++n;
    }
    return n;
}

bool isBlankChar(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000;
}

void skipBlanks(std::u16string_view s, size_t& i) {
    while (i < s.size() && isBlankChar(s[i]))
        ++i;
}

bool startsWithIgnoreCase(std::u16string_view s, size_t i, std::u16string_view word) {
    return s.size() - i >= word.size() && equalsIgnoreCase(s.substr(i, word.size()), word);
}

// "9:05", "9:05:03", with AM/PM or 午前/午後 before or after.
bool parseTimeAt(std::u16string_view s, size_t& i, double& out) {
    size_t j = i;
    int pm = -1;
    auto readMarker = [&](size_t& k) {
        if (startsWithIgnoreCase(s, k, u"AM") || startsWithIgnoreCase(s, k, u"午前")) {
            pm = 0;
            k += 2;
            return true;
        }
        if (startsWithIgnoreCase(s, k, u"PM") || startsWithIgnoreCase(s, k, u"午後")) {
            pm = 1;
            k += 2;
            return true;
        }
        return false;
    };
    if (readMarker(j))
        skipBlanks(s, j);
    int h = 0, mi = 0, se = 0;
    if (readDigits(s, j, h) == 0)
        return false;
    bool japanese = false;
    if (j < s.size() && (s[j] == u':' || s[j] == u'時')) {
        japanese = s[j] == u'時';
        ++j;
        size_t k = j;
        if (readDigits(s, k, mi) > 0) {
            j = k;
            if (japanese && j < s.size() && s[j] == u'分')
                ++j;
            if (j < s.size() && s[j] == u':') {
                ++j;
                if (readDigits(s, j, se) == 0)
                    return false;
            } else if (japanese && readDigits(s, k = j, se) > 0 && k < s.size() && s[k] == u'秒') {
                j = k + 1;
            }
        } else if (!japanese) {
            return false;
        }
    } else {
        if (pm < 0) // a bare number is no time
            return false;
    }
    size_t k = j;
    skipBlanks(s, k);
    if (pm < 0 && readMarker(k))
        j = k;
    if (pm >= 0) {
        if (h > 12)
            return false;
        h = (h % 12) + (pm ? 12 : 0);
    }
    if (h > 23 || mi > 59 || se > 59)
        return false;
    out = makeTime(h, mi, se);
    i = j;
    return true;
}

int expandYear(int y, int digits) {
    if (digits <= 2)
        return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

bool isValidCivilDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1)
        return false;
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] && !(m == 2 && d == 29 && !leap);
}

// "2026/12/07", "2026-12-7", "12/7", "12/7/2026", "2026年12月7日". Three small numbers are
// read year first ("1/2/3" is 2001/02/03) or month first; a number that cannot be a day or
// month is a year wherever it stands, and an impossible date is tried in the other orders.
bool parseDateAt(std::u16string_view s, size_t& i, double& out, DateTextOrder order) {
    size_t j = i;
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    char16_t sep = 0;
    while (count < 3) {
        const int n = readDigits(s, j, parts[count]);
        if (n == 0)
            break;
        digits[count++] = n;
        if (j >= s.size())
            break;
        const char16_t c = s[j];
        if (c == u'年' || c == u'月') {
            ++j;
            continue;
        }
        if (c == u'日') {
            ++j;
            break;
        }
        if (c == u'/' || c == u'-' || (c == u'.' && count < 3)) {
            if (sep && c != sep)
                return false;
            sep = c;
            // A separator must be followed by another number.
            size_t k = j + 1;
            int dummy = 0;
            if (count == 3 || readDigits(s, k, dummy) == 0)
                break;
            ++j;
            continue;
        }
        break;
    }
    if (count < 2)
        return false;
    struct Ymd {
        int y, m, d;
    };
    Ymd tries[3];
    int n = 0;
    const bool firstIsYear = digits[0] >= 3 || parts[0] > 31;
    if (count == 3) {
        const int first = expandYear(parts[0], digits[0]);
        const int last = expandYear(parts[2], digits[2]);
        const bool lastIsYear = digits[2] >= 3 || parts[2] > 31;
        if (firstIsYear) {
            tries[n++] = {first, parts[1], parts[2]};
        } else {
            if (order == DateTextOrder::YearFirst && !lastIsYear)
                tries[n++] = {first, parts[1], parts[2]};
            tries[n++] = {last, parts[0], parts[1]};
            tries[n++] = {last, parts[1], parts[0]};
        }
    } else if (firstIsYear) {
        tries[n++] = {expandYear(parts[0], digits[0]), parts[1], 1};
    } else {
        tries[n++] = {currentYear(), parts[0], parts[1]};
    }
    int k = 0;
    while (k < n && !isValidCivilDate(tries[k].y, tries[k].m, tries[k].d))
        ++k;
    if (k == n)
        return false;
    const auto date = makeDate(tries[k].y, tries[k].m, tries[k].d);
    if (!date)
        return false;
    out = *date;
    i = j;
    return true;
}

// Dates as text follow the script's locale. Japan's forms are the engine's own reading and
// writing; other locales go through their regional settings.
bool japaneseLocale() {
    return lib::currentLocale() == lib::kJapanLcid;
}

std::optional<double> parseLocaleDate(std::u16string_view text) {
    if (japaneseLocale())
        return parseDate(text, DateTextOrder::YearFirst);
    return lib::parseDateTime(text, lib::currentRegionalSettings(), currentYear());
}

std::u16string formatLocaleDate(double oleDate) {
    if (japaneseLocale())
        return formatDate(oleDate);
    return lib::dateToText(oleDate, lib::currentRegionalSettings());
}

// Full-width forms (digits, signs, "." and ",", "&H") as their ASCII letters, the ideographic
// blank as a blank, and one currency symbol of the locale next to the digits dropped
// ("¥1,234", "-¥1,234", "¥-1,234"; Japan also writes the full-width "￥").
std::u16string plainNumberText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c >= 0xFF01 && c <= 0xFF5E)
            c = static_cast<char16_t>(c - 0xFF01 + 0x21);
        else if (c == 0x3000)
            c = u' ';
        out.push_back(c);
    }
    const std::u16string& symbol = lib::currentRegionalSettings().currencySymbol;
    size_t at = out.find_first_not_of(u" \t");
    if (at != std::u16string::npos && (out[at] == u'+' || out[at] == u'-'))
        ++at;
    if (at == std::u16string::npos || at >= out.size())
        return out;
    if (!symbol.empty() && out.compare(at, symbol.size(), symbol) == 0)
        out.erase(at, symbol.size());
    else if (japaneseLocale() && out[at] == 0xFFE5)
        out.erase(at, 1);
    return out;
}

} // namespace

std::optional<double> parseNumber(std::u16string_view original) {
    const std::u16string plain = plainNumberText(original);
    const std::u16string_view text = plain;
    // Hexadecimal and octal text is unsigned up to 32 bits: "&HFFFF" is 65535, "&HFFFFFFFF" -1.
    if (const auto radix = numtext::parseRadixDigits(text))
        return static_cast<double>(static_cast<int32_t>(radix->value));
    if (auto v = numtext::parseNumber(text))
        return v;
    // Thousands separators in the whole part: "1,234.5".
    if (text.find(u',') == std::u16string_view::npos)
        return std::nullopt;
    std::u16string stripped;
    bool seenPoint = false;
    bool lastWasDigit = false;
    for (char16_t c : text) {
        if (c == u'.' || c == u'e' || c == u'E')
            seenPoint = true;
        if (c == u',') {
            if (seenPoint || !lastWasDigit)
                return std::nullopt;
            continue;
        }
        lastWasDigit = c >= u'0' && c <= u'9';
        stripped.push_back(c);
    }
    return numtext::parseNumber(stripped);
}

std::optional<double> parseDate(std::u16string_view text, DateTextOrder order) {
    size_t i = 0;
    skipBlanks(text, i);
    double date = 0, time = 0;
    bool haveDate = false, haveTime = false;
    size_t save = i;
    if (parseTimeAt(text, i, time)) {
        haveTime = true;
        skipBlanks(text, i);
        if (i < text.size()) {
            haveDate = parseDateAt(text, i, date, order);
            if (!haveDate)
                return std::nullopt;
        }
    } else {
        i = save;
        if (!parseDateAt(text, i, date, order))
            return std::nullopt;
        haveDate = true;
        skipBlanks(text, i);
        if (i < text.size()) {
            haveTime = parseTimeAt(text, i, time);
            if (!haveTime)
                return std::nullopt;
        }
    }
    skipBlanks(text, i);
    if (i != text.size() || (!haveDate && !haveTime))
        return std::nullopt;
    return date < 0 ? date - time : date + time;
}

std::optional<double> makeDate(int year, int month, int day) {
    if (year < 100 || year > 9999)
        return std::nullopt;
    const double v = static_cast<double>(lib::daysFromCivil(year, month, 1) + (day - 1));
    if (v < kMinDate || v > kMaxDate)
        return std::nullopt;
    return v;
}

double makeTime(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

std::u16string formatDouble(double v) {
    return formatSignificant(v, 15);
}

std::u16string formatSingle(float v) {
    return formatSignificant(static_cast<double>(v), 7);
}

std::u16string formatCurrency(int64_t cy) {
    const bool negative = cy < 0;
    const uint64_t mag = negative ? 0 - static_cast<uint64_t>(cy) : static_cast<uint64_t>(cy);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%llu", negative ? "-" : "",
                  static_cast<unsigned long long>(mag / 10000));
    std::string out = buf;
    uint64_t frac = mag % 10000;
    if (frac) {
        char f[8];
        std::snprintf(f, sizeof f, "%04llu", static_cast<unsigned long long>(frac));
        std::string fs = f;
        while (!fs.empty() && fs.back() == '0')
            fs.pop_back();
        out += "." + fs;
    }
    return ascii(out.c_str());
}

std::u16string formatDate(double oleDate) {
    const lib::CivilDateTime p = lib::splitDate(oleDate);
    const double whole = std::trunc(oleDate);
    const bool hasTime = p.hour || p.minute || p.second;
    char buf[64];
    if (whole == 0 && (hasTime || oleDate == 0.0)) {
        std::snprintf(buf, sizeof buf, "%d:%02d:%02d", p.hour, p.minute, p.second);
    } else if (!hasTime) {
        std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", p.year, p.month, p.day);
    } else {
        std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second);
    }
    return ascii(buf);
}

Value dereference(const Value& v) {
    if (!v.isObject())
        return v;
    if (v.isNothing())
        raiseError(err::ObjectNotSet);
    Context* context = currentContext();
    if (!context)
        raiseError(err::NoSuchMember);
    Value result = context->call(v, Args());
    if (result.isObject())
        return dereference(result);
    return result;
}

Value toNumeric(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
        return Value::integer(0);
    case VarType::String: {
        const auto n = parseNumber(v.asString());
        if (!n)
            typeMismatch();
        return Value::dbl(*n);
    }
    case VarType::Object:
        return toNumeric(dereference(v));
    case VarType::Array:
    case VarType::Error:
        typeMismatch();
    default:
        return v;
    }
}

double toDouble(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
        return 0.0;
    case VarType::Null:
        raiseError(err::InvalidNull);
    case VarType::Integer:
        return v.asInteger();
    case VarType::Long:
        return v.asLong();
    case VarType::Single:
        return v.asSingle();
    case VarType::Double:
    case VarType::Date:
        return v.asDouble();
    case VarType::Currency:
        return currencyToDouble(v.asCurrency());
    case VarType::Boolean:
        return v.asBool() ? -1.0 : 0.0;
    case VarType::Byte:
        return v.asByte();
    case VarType::String: {
        const auto n = parseNumber(v.asString());
        if (!n)
            typeMismatch();
        return *n;
    }
    case VarType::Object:
        return toDouble(dereference(v));
    default:
        typeMismatch();
    }
}

float toSingle(const Value& v) {
    const double d = toDouble(v);
    if (std::fabs(d) > std::numeric_limits<float>::max())
        raiseError(err::Overflow);
    return static_cast<float>(d);
}

int64_t toCurrency(const Value& v) {
    if (v.type() == VarType::Currency)
        return v.asCurrency();
    const double d = toDouble(v);
    if (!(std::fabs(d) <= kCurrencyMax))
        raiseError(err::Overflow);
    return static_cast<int64_t>(roundEven(d * 10000.0));
}

int32_t toLong(const Value& v) {
    switch (v.type()) {
    case VarType::Integer:
        return v.asInteger();
    case VarType::Long:
        return v.asLong();
    case VarType::Byte:
        return v.asByte();
    case VarType::Boolean:
        return v.asBool() ? -1 : 0;
    case VarType::Empty:
        return 0;
    default:
        break;
    }
    const double r = roundEven(toDouble(v));
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raiseError(err::Overflow);
    return static_cast<int32_t>(r);
}

int16_t toInteger(const Value& v) {
    // Hexadecimal text converts at the Integer's width: CInt("&HFFFF") is -1.
    if (v.isString())
        if (const auto radix = numtext::parseRadixDigits(plainNumberText(v.asString()));
            radix && radix->value <= 0xFFFF)
            return static_cast<int16_t>(static_cast<uint16_t>(radix->value));
    const int32_t l = toLong(v);
    if (l < -32768 || l > 32767)
        raiseError(err::Overflow);
    return static_cast<int16_t>(l);
}

uint8_t toByte(const Value& v) {
    if (v.type() == VarType::Boolean)
        return v.asBool() ? 255 : 0; // True is all bits set
    const int32_t l = toLong(v);
    if (l < 0 || l > 255)
        raiseError(err::Overflow);
    return static_cast<uint8_t>(l);
}

bool toBool(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
        return false;
    case VarType::Boolean:
        return v.asBool();
    case VarType::String: {
        const auto& s = v.asString();
        std::u16string_view t = s;
        while (!t.empty() && isBlankChar(t.front()))
            t.remove_prefix(1);
        while (!t.empty() && isBlankChar(t.back()))
            t.remove_suffix(1);
        if (equalsIgnoreCase(t, u"true") || equalsIgnoreCase(t, u"#true#"))
            return true;
        if (equalsIgnoreCase(t, u"false") || equalsIgnoreCase(t, u"#false#"))
            return false;
        const auto n = parseNumber(s);
        if (!n)
            typeMismatch();
        return *n != 0.0;
    }
    case VarType::Object:
        return toBool(dereference(v));
    case VarType::Currency:
        return v.asCurrency() != 0;
    default:
        return toDouble(v) != 0.0;
    }
}

double toDate(const Value& v) {
    switch (v.type()) {
    case VarType::Date:
        return v.asDate();
    case VarType::String: {
        if (auto d = parseLocaleDate(v.asString()))
            return *d;
        if (auto n = parseNumber(v.asString())) {
            if (*n < kMinDate || *n > kMaxDate + 1)
                raiseError(err::Overflow);
            return *n;
        }
        typeMismatch();
    }
    case VarType::Object:
        return toDate(dereference(v));
    default: {
        const double d = toDouble(v);
        if (!(d >= kMinDate && d < kMaxDate + 1))
            raiseError(err::Overflow);
        return d;
    }
    }
}

std::u16string toMemberText(const Value& v) {
    const Value& value = v.isObject() ? dereference(v) : v;
    if (value.type() == VarType::Boolean)
        return value.asBool() ? u"-1" : u"0";
    return toString(value);
}

std::u16string toString(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        raiseError(err::InvalidNull);
    case VarType::Integer:
        return ascii(std::to_string(v.asInteger()).c_str());
    case VarType::Long:
        return ascii(std::to_string(v.asLong()).c_str());
    case VarType::Byte:
        return ascii(std::to_string(v.asByte()).c_str());
    case VarType::Single:
        return formatSingle(v.asSingle());
    case VarType::Double:
        return formatDouble(v.asDouble());
    case VarType::Currency:
        return formatCurrency(v.asCurrency());
    case VarType::Date:
        return formatLocaleDate(v.asDate());
    case VarType::Boolean:
        return v.asBool() ? u"True" : u"False";
    case VarType::String:
        return v.asString();
    case VarType::Error: // only a parameter left out: it has no text, as it has no number
        typeMismatch();
    case VarType::Object:
        return toString(dereference(v));
    default:
        typeMismatch();
    }
}

bool isNumericValue(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Boolean:
    case VarType::Byte:
        return true;
    case VarType::String:
        return parseNumber(v.asString()).has_value();
    default:
        return false;
    }
}

bool isDateValue(const Value& v) {
    if (v.type() == VarType::Date)
        return true;
    if (v.type() == VarType::String)
        return parseLocaleDate(v.asString()).has_value();
    return false;
}

std::u16string typeName(const Value& v) {
    switch (v.type()) {
    case VarType::Empty:
        return u"Empty";
    case VarType::Null:
        return u"Null";
    case VarType::Integer:
        return u"Integer";
    case VarType::Long:
        return u"Long";
    case VarType::Single:
        return u"Single";
    case VarType::Double:
        return u"Double";
    case VarType::Currency:
        return u"Currency";
    case VarType::Date:
        return u"Date";
    case VarType::String:
        return u"String";
    case VarType::Boolean:
        return u"Boolean";
    case VarType::Byte:
        return u"Byte";
    case VarType::Error:
        return u"Error";
    case VarType::Object:
        return v.isNothing() ? u"Nothing" : v.asObject()->typeName();
    case VarType::Array:
        return u"Variant()";
    default:
        return u"Unknown";
    }
}

} // namespace vbscript
