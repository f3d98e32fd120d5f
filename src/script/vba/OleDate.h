#pragma once

// OLE dates (days since 1899-12-30) for the VBA functions, on the script engine's calendar.

#include "vbscript/builtins/DateMath.h"

#include <QString>

#include <optional>

namespace script {

// A calendar date and time of day split out of an OLE date.
using DateParts = vbscript::lib::CivilDateTime;

// The range the script language allows: 100-01-01 to 9999-12-31.
constexpr double kMinOleDate = -657434.0;
constexpr double kMaxOleDate = 2958465.99999;

// Nullopt outside the allowed range. The time is rounded to the nearest second.
std::optional<DateParts> oleDateToParts(double oleDate);
// Days since 1899-12-30 of a proleptic Gregorian date; month and day may overflow their ranges.
double dateToOleDate(int year, int month, int day);
double timeToOleFraction(int hour, int minute, int second);
// An OLE date for a date and a time (the time is added away from zero, as the language does).
double combineOleDate(double datePart, double timeFraction);
int weekdayOf(int year, int month, int day); // 1 Sunday .. 7 Saturday
bool isLeapYear(int year);

// Dates and times as a Japanese user writes them: "2025/4/1", "2025-04-01", "2025年4月1日",
// "4/1" (this year), "13:05", "1:05:09 PM", "午後1:05", and a date followed by a time. Nullopt when
// the text is no date.
std::optional<double> parseDateText(const QString& text);

} // namespace script
