#include "vbscript/builtins/DateMath.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace vbscript::lib {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) {
    return a - floorDiv(a, b) * b;
}

int normalisedFirstDay(int firstDayOfWeek) {
    return firstDayOfWeek == 0 ? 1 : firstDayOfWeek;
}

std::int64_t dayNumber(double oleDate) {
    return floorDiv(totalSeconds(oleDate), kSecondsPerDay);
}

int weekdayOfDay(std::int64_t day, int firstDayOfWeek) {
    // Day 0, 1899-12-30, was a Saturday.
    const int sundayBased = static_cast<int>(floorMod(day + 6, 7)); // 0 = Sunday
    return static_cast<int>(floorMod(sundayBased - (normalisedFirstDay(firstDayOfWeek) - 1), 7)) +
           1;
}

std::int64_t weekStart(std::int64_t day, int firstDayOfWeek) {
    return day - (weekdayOfDay(day, firstDayOfWeek) - 1);
}

// First day of week 1 of the given year.
std::int64_t firstWeekStart(int year, int firstDayOfWeek, int firstWeekOfYear) {
    const std::int64_t jan1 = daysFromCivil(year, 1, 1);
    const std::int64_t start = weekStart(jan1, firstDayOfWeek);
    const std::int64_t daysInNewYear = 7 - (jan1 - start);
    switch (firstWeekOfYear) {
    case 2:
        return daysInNewYear >= 4 ? start : start + 7;
    case 3:
        return start == jan1 ? start : start + 7;
    default:
        return start;
    }
}

int weekOfYear(std::int64_t day, int firstDayOfWeek, int firstWeekOfYear) {
    int year, month, dom;
    civilFromDays(day, year, month, dom);
    std::int64_t start = firstWeekStart(year, firstDayOfWeek, firstWeekOfYear);
    if (day < start) {
        start = firstWeekStart(year - 1, firstDayOfWeek, firstWeekOfYear);
    } else if (firstWeekOfYear == 2 || firstWeekOfYear == 3) {
        const std::int64_t next = firstWeekStart(year + 1, firstDayOfWeek, firstWeekOfYear);
        if (day >= next)
            start = next;
    }
    return static_cast<int>((day - start) / 7) + 1;
}

DateResult fromSeconds(std::int64_t seconds) {
    const double ole = oleFromSeconds(seconds);
    if (!isValidDate(ole))
        return {0, 5};
    return {ole, 0};
}

DateResult addMonths(std::int64_t months, double oleDate) {
    CivilDateTime parts = splitDate(oleDate);
    const std::int64_t total = std::int64_t(parts.year) * 12 + (parts.month - 1) + months;
    const std::int64_t year = floorDiv(total, 12);
    if (year < 100 || year > 9999)
        return {0, 5};
    parts.year = static_cast<int>(year);
    parts.month = static_cast<int>(floorMod(total, 12)) + 1;
    parts.day = std::min(parts.day, daysInMonth(parts.year, parts.month));
    const auto result = makeDateTime(parts);
    if (!result)
        return {0, 5};
    return {*result, 0};
}

} // namespace

bool isValidDate(double oleDate) {
    return std::isfinite(oleDate) && oleDate >= kMinDate && oleDate < 2958466.0;
}

std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    // Howard Hinnant's days_from_civil, shifted so that 1899-12-30 is day 0.
    year -= month <= 2;
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yoe = year - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;
}

void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    const std::int64_t z = days - 25569 + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2)
        return isLeapYear(year) ? 29 : 28;
    return kDays[month - 1];
}

double linearFromOle(double oleDate) {
    if (oleDate >= 0)
        return oleDate;
    const double whole = std::trunc(oleDate);
    return whole + (whole - oleDate); // the fraction counts forward from midnight
}

double oleFromLinear(double linearDays) {
    const double whole = std::floor(linearDays);
    if (whole >= 0)
        return linearDays;
    const double fraction = linearDays - whole;
    return whole - fraction;
}

std::int64_t totalSeconds(double oleDate) {
    // Out-of-range values are clamped just outside the valid range, so that callers that did not
    // check them still compute without overflow; the range checks then refuse the result.
    double linear = linearFromOle(oleDate);
    if (!(linear >= kMinDate - 1))
        linear = kMinDate - 1;
    else if (linear > kMaxDate + 1)
        linear = kMaxDate + 1;
    return static_cast<std::int64_t>(std::llround(linear * kSecondsPerDay));
}

double oleFromSeconds(std::int64_t seconds) {
    const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
    const double fraction = double(floorMod(seconds, kSecondsPerDay)) / kSecondsPerDay;
    return day >= 0 ? double(day) + fraction : double(day) - fraction;
}

CivilDateTime splitDate(double oleDate) {
    const std::int64_t seconds = totalSeconds(oleDate);
    const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
    const std::int64_t inDay = floorMod(seconds, kSecondsPerDay);
    CivilDateTime parts;
    civilFromDays(day, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(inDay / 3600);
    parts.minute = static_cast<int>(inDay / 60 % 60);
    parts.second = static_cast<int>(inDay % 60);
    parts.weekday = weekdayOfDay(day, 1);
    parts.dayOfYear = static_cast<int>(day - daysFromCivil(parts.year, 1, 1)) + 1;
    return parts;
}

int expandTwoDigitYear(int year) {
    if (year >= 0 && year < 30)
        return 2000 + year;
    if (year >= 30 && year < 100)
        return 1900 + year;
    return year;
}

std::optional<double> dateSerial(std::int64_t year, std::int64_t month, std::int64_t day) {
    year = expandTwoDigitYear(static_cast<int>(year));
    const std::int64_t totalMonths = year * 12 + (month - 1);
    const std::int64_t y = floorDiv(totalMonths, 12);
    const int m = static_cast<int>(floorMod(totalMonths, 12)) + 1;
    if (y < 0 || y > 10000)
        return std::nullopt;
    const std::int64_t days = daysFromCivil(y, m, 1) + (day - 1);
    const double ole = double(days);
    if (!isValidDate(ole))
        return std::nullopt;
    return ole;
}

std::optional<double> timeSerial(std::int64_t hour, std::int64_t minute, std::int64_t second) {
    const double ole = oleFromSeconds(hour * 3600 + minute * 60 + second);
    if (!isValidDate(ole))
        return std::nullopt;
    return ole;
}

std::optional<double> makeDateTime(const CivilDateTime& p) {
    if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > daysInMonth(p.year, p.month) ||
        p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59)
        return std::nullopt;
    const std::int64_t seconds = daysFromCivil(p.year, p.month, p.day) * kSecondsPerDay +
                                 p.hour * 3600 + p.minute * 60 + p.second;
    const double ole = oleFromSeconds(seconds);
    if (!isValidDate(ole))
        return std::nullopt;
    return ole;
}

int weekday(double oleDate, int firstDayOfWeek) {
    return weekdayOfDay(dayNumber(oleDate), firstDayOfWeek);
}

std::optional<DateInterval> parseInterval(std::u16string_view text) {
    std::string lower;
    for (char16_t c : text) {
        if (c > 127)
            return std::nullopt;
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    if (lower == "yyyy")
        return DateInterval::Year;
    if (lower == "q")
        return DateInterval::Quarter;
    if (lower == "m")
        return DateInterval::Month;
    if (lower == "y")
        return DateInterval::DayOfYear;
    if (lower == "d")
        return DateInterval::Day;
    if (lower == "w")
        return DateInterval::Weekday;
    if (lower == "ww")
        return DateInterval::Week;
    if (lower == "h")
        return DateInterval::Hour;
    if (lower == "n")
        return DateInterval::Minute;
    if (lower == "s")
        return DateInterval::Second;
    return std::nullopt;
}

DateResult dateAdd(DateInterval interval, double number, double oleDate) {
    if (!isValidDate(oleDate) || !std::isfinite(number) || std::fabs(number) > 1e12)
        return {0, 5};
    const auto n = static_cast<std::int64_t>(std::nearbyint(number));
    const std::int64_t base = totalSeconds(oleDate);
    switch (interval) {
    case DateInterval::Year:
        return addMonths(n * 12, oleDate);
    case DateInterval::Quarter:
        return addMonths(n * 3, oleDate);
    case DateInterval::Month:
        return addMonths(n, oleDate);
    case DateInterval::DayOfYear:
    case DateInterval::Day:
    case DateInterval::Weekday:
        return fromSeconds(base + n * kSecondsPerDay);
    case DateInterval::Week:
        return fromSeconds(base + n * 7 * kSecondsPerDay);
    case DateInterval::Hour:
        return fromSeconds(base + n * 3600);
    case DateInterval::Minute:
        return fromSeconds(base + n * 60);
    case DateInterval::Second:
        return fromSeconds(base + n);
    }
    return {0, 5};
}

DateResult dateDiff(DateInterval interval, double date1, double date2, int firstDayOfWeek,
                    int firstWeekOfYear) {
    (void)firstWeekOfYear; // week counts do not depend on where week 1 lies
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7 || !isValidDate(date1) || !isValidDate(date2))
        return {0, 5};
    const CivilDateTime a = splitDate(date1);
    const CivilDateTime b = splitDate(date2);
    const std::int64_t s1 = totalSeconds(date1);
    const std::int64_t s2 = totalSeconds(date2);
    const std::int64_t d1 = floorDiv(s1, kSecondsPerDay);
    const std::int64_t d2 = floorDiv(s2, kSecondsPerDay);
    std::int64_t result = 0;
    switch (interval) {
    case DateInterval::Year:
        result = b.year - a.year;
        break;
    case DateInterval::Quarter:
        result = (b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3);
        break;
    case DateInterval::Month:
        result = (b.year * 12 + b.month) - (a.year * 12 + a.month);
        break;
    case DateInterval::DayOfYear:
    case DateInterval::Day:
        result = d2 - d1;
        break;
    case DateInterval::Weekday:
        result = (d2 - d1) / 7;
        break;
    case DateInterval::Week:
        result = (weekStart(d2, firstDayOfWeek) - weekStart(d1, firstDayOfWeek)) / 7;
        break;
    case DateInterval::Hour:
        result = floorDiv(s2, 3600) - floorDiv(s1, 3600);
        break;
    case DateInterval::Minute:
        result = floorDiv(s2, 60) - floorDiv(s1, 60);
        break;
    case DateInterval::Second:
        result = s2 - s1;
        break;
    }
    return {double(result), 0};
}

DateResult datePart(DateInterval interval, double oleDate, int firstDayOfWeek,
                    int firstWeekOfYear) {
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7 || firstWeekOfYear < 0 || firstWeekOfYear > 3 ||
        !isValidDate(oleDate))
        return {0, 5};
    const CivilDateTime p = splitDate(oleDate);
    const std::int64_t day = dayNumber(oleDate);
    switch (interval) {
    case DateInterval::Year:
        return {double(p.year), 0};
    case DateInterval::Quarter:
        return {double((p.month - 1) / 3 + 1), 0};
    case DateInterval::Month:
        return {double(p.month), 0};
    case DateInterval::DayOfYear:
        return {double(day - daysFromCivil(p.year, 1, 1) + 1), 0};
    case DateInterval::Day:
        return {double(p.day), 0};
    case DateInterval::Weekday:
        return {double(weekdayOfDay(day, firstDayOfWeek)), 0};
    case DateInterval::Week:
        return {double(weekOfYear(day, firstDayOfWeek, firstWeekOfYear)), 0};
    case DateInterval::Hour:
        return {double(p.hour), 0};
    case DateInterval::Minute:
        return {double(p.minute), 0};
    case DateInterval::Second:
        return {double(p.second), 0};
    }
    return {0, 5};
}

} // namespace vbscript::lib
