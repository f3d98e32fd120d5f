#pragma once

#include <QString>

#include <optional>

namespace script {

// A calendar date and time of day split out of an OLE date (days since 1899-12-30).
struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 7;   // 1 Sunday .. 7 Saturday
    int dayOfYear = 1; // 1 .. 366
};

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
