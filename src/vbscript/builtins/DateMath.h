#pragma once

// Calendar arithmetic over the script language's date values: a double counting days from
// 1899-12-30, whose fraction is the time of day. Below zero the fraction still runs forward in
// the day (-1.25 is 1899-12-29 06:00), so every computation here goes through a "linear" day
// count that is monotonic in time.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vbscript::lib {

// A date value's calendar parts; splitDate also fills the weekday and the day of the year,
// which makeDateTime ignores.
struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 7;   // 1 Sunday .. 7 Saturday
    int dayOfYear = 1; // 1 .. 366
};

// The valid range: 100-01-01 00:00:00 to 9999-12-31 23:59:59.
inline constexpr double kMinDate = -657434.0;
inline constexpr double kMaxDate = 2958465.999988426;

bool isValidDate(double oleDate);

// Days between 1899-12-30 and the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t year, int month, int day);
void civilFromDays(std::int64_t days, int& year, int& month, int& day);
int daysInMonth(int year, int month);
bool isLeapYear(int year);

double linearFromOle(double oleDate);
double oleFromLinear(double linearDays);

// Splits a date value into its parts, rounded to the nearest second as the language does.
CivilDateTime splitDate(double oleDate);
// Whole seconds since 1899-12-30 00:00:00 on the linear scale, rounded.
std::int64_t totalSeconds(double oleDate);
double oleFromSeconds(std::int64_t seconds);

// Two-digit years follow the 1930-2029 window.
int expandTwoDigitYear(int year);

// DateSerial with the language's rolling of months and days; nullopt when out of range.
std::optional<double> dateSerial(std::int64_t year, std::int64_t month, std::int64_t day);
// TimeSerial: seconds may roll into other days, also backwards.
std::optional<double> timeSerial(std::int64_t hour, std::int64_t minute, std::int64_t second);
std::optional<double> makeDateTime(const CivilDateTime& parts);

// 1 (Sunday) .. 7 (Saturday) for firstDayOfWeek 1, counted from firstDayOfWeek otherwise.
// firstDayOfWeek 0 means the system setting (Sunday).
int weekday(double oleDate, int firstDayOfWeek = 1);

enum class DateInterval {
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Weekday,
    Week,
    Hour,
    Minute,
    Second
};
std::optional<DateInterval> parseInterval(std::u16string_view text);

// Results carry an error number (5 invalid argument) instead of throwing, so callers can raise
// it in their own way.
struct DateResult {
    double value = 0;
    int error = 0;
};

DateResult dateAdd(DateInterval interval, double number, double oleDate);
// firstWeekOfYear: 0 system (January 1), 1 January 1, 2 first four-day week, 3 first full week.
DateResult dateDiff(DateInterval interval, double date1, double date2, int firstDayOfWeek = 1,
                    int firstWeekOfYear = 1);
DateResult datePart(DateInterval interval, double oleDate, int firstDayOfWeek = 1,
                    int firstWeekOfYear = 1);

} // namespace vbscript::lib
