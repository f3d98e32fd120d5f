#pragma once

// The language's conversion rules, as its C* functions apply them. Every function raises the
// language's error (13 type mismatch, 6 overflow, 94 invalid use of Null) as ScriptError.
// Objects are read through their default member.

#include "Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace vbscript {

// CDbl, CSng, CCur, CLng, CInt, CByte, CBool, CDate, CStr. Whole-number conversions round
// halves to even.
double toDouble(const Value& v);
float toSingle(const Value& v);
int64_t toCurrency(const Value& v); // ten-thousandths
int32_t toLong(const Value& v);
int16_t toInteger(const Value& v);
uint8_t toByte(const Value& v);
bool toBool(const Value& v);
double toDate(const Value& v); // OLE date: days since 1899-12-30
std::u16string toString(const Value& v);
// The text an object's method receives for a text parameter: as CStr, except that a Boolean
// becomes "-1" or "0", as the automation conversion of the objects' own interfaces gives.
std::u16string toMemberText(const Value& v);

// A numeric Value for arithmetic: numbers keep their subtype, Empty is Integer 0, text is read
// as Double (error 13 when it is no number), Boolean stays Boolean. Null stays Null.
Value toNumeric(const Value& v);
// The value itself, or an object's default value (error 438 when it has none).
Value dereference(const Value& v);

// Numeric text as the language reads it (blanks, sign, decimals, exponent, &H, &O);
// nullopt when the text is no number.
std::optional<double> parseNumber(std::u16string_view text);
// Date and/or time text in the Japanese forms ("2026/12/07", "2026-12-07", "12/7",
// "9:05", "9:05:03", "午後 3:04", combined with a blank); nullopt when the text is no date.
// Three small numbers are year/month/day as Japan writes them, or month/day/year as date
// literals (#1/2/3#) are read whatever the locale.
enum class DateTextOrder { YearFirst, MonthFirst };
std::optional<double> parseDate(std::u16string_view text,
                                DateTextOrder order = DateTextOrder::YearFirst);

// How the language writes numbers and dates.
std::u16string formatDouble(double v); // 15 significant digits: "0.1", "1E+20"
std::u16string formatSingle(float v);  // 7 significant digits
std::u16string formatCurrency(int64_t tenThousandths);
std::u16string formatDate(double oleDate); // "2026/12/07 9:05:03", date or time alone

// IsNumeric, IsDate.
bool isNumericValue(const Value& v);
bool isDateValue(const Value& v);

// Calendar helpers on OLE dates (the calendar itself is builtins/DateMath.h).
// nullopt when the date is out of the language's range (100-01-01 .. 9999-12-31).
std::optional<double> makeDate(int year, int month, int day);
double makeTime(int hour, int minute, int second);

// The value's TypeName() text ("Integer", "String", "Variant()", an object's class name).
std::u16string typeName(const Value& v);

} // namespace vbscript
