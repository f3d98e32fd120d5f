#include "vbscript/builtins/DateMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vbscript::lib;

namespace {

double day(int y, int m, int d) {
    return double(daysFromCivil(y, m, d));
}

double at(int y, int m, int d, int h, int n, int s) {
    return *makeDateTime({y, m, d, h, n, s});
}

DateInterval interval(const char16_t* text) {
    return *parseInterval(text);
}

} // namespace

TEST(DateMath, SerialNumbersOfKnownDays) {
    EXPECT_EQ(day(1899, 12, 30), 0);
    EXPECT_EQ(day(1900, 1, 1), 2);
    EXPECT_EQ(day(2024, 1, 1), 45292);
    EXPECT_EQ(day(100, 1, 1), kMinDate);
    int y, m, d;
    civilFromDays(45351, y, m, d);
    EXPECT_EQ((std::array{y, m, d}), (std::array{2024, 2, 29}));
}

TEST(DateMath, NegativeDatesKeepTheTimeRunningForward) {
    const CivilDateTime p = splitDate(-1.25);
    EXPECT_EQ((std::array{p.year, p.month, p.day, p.hour}), (std::array{1899, 12, 29, 6}));
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6, 0, 0), -1.25);
    EXPECT_DOUBLE_EQ(linearFromOle(-1.25), -0.75);
    EXPECT_DOUBLE_EQ(oleFromLinear(-0.75), -1.25);
}

TEST(DateMath, SplitRoundsToTheNearestSecond) {
    const CivilDateTime p = splitDate(45292.0 + 86399.6 / 86400.0);
    EXPECT_EQ((std::array{p.year, p.month, p.day, p.hour, p.minute, p.second}),
              (std::array{2024, 1, 2, 0, 0, 0}));
}

TEST(DateMath, DateSerialRollsMonthsAndDaysAndWindowsTwoDigitYears) {
    struct Row {
        std::int64_t y, m, d;
        double expected;
    };
    const Row rows[] = {
        {2024, 1, 1, day(2024, 1, 1)},    {2024, 13, 1, day(2025, 1, 1)},
        {2024, 3, 0, day(2024, 2, 29)},   {2024, 0, 1, day(2023, 12, 1)},
        {2024, 1, -1, day(2023, 12, 30)}, {2024, 1, 400, day(2025, 2, 3)},
        {99, 1, 1, day(1999, 1, 1)},      {29, 1, 1, day(2029, 1, 1)},
        {30, 6, 15, day(1930, 6, 15)},    {2024, -11, 1, day(2023, 1, 1)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(dateSerial(r.y, r.m, r.d), r.expected) << r.y << "/" << r.m << "/" << r.d;
    EXPECT_FALSE(dateSerial(10000, 1, 1));
    EXPECT_FALSE(dateSerial(9999, 12, 32));
    EXPECT_FALSE(dateSerial(100, 1, 0));
}

TEST(DateMath, TimeSerialRollsIntoOtherDays) {
    EXPECT_DOUBLE_EQ(*timeSerial(12, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(*timeSerial(25, 0, 0), 1.0 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(*timeSerial(0, 90, 0), 1.5 / 24);
    EXPECT_DOUBLE_EQ(*timeSerial(0, 0, -1), -(1 + 86399.0 / 86400)); // 1899-12-29 23:59:59
}

TEST(DateMath, WeekdayFollowsTheFirstDayOfWeek) {
    const double monday = day(2024, 1, 1);
    EXPECT_EQ(weekday(monday), 2);
    EXPECT_EQ(weekday(monday, 0), 2);
    EXPECT_EQ(weekday(monday, 2), 1);
    EXPECT_EQ(weekday(monday, 7), 3);
    EXPECT_EQ(weekday(0), 7); // 1899-12-30 was a Saturday
    EXPECT_EQ(weekday(-1.25), 6);
}

TEST(DateMath, DateAddClampsToTheMonthEndAndChecksTheRange) {
    struct Row {
        const char16_t* interval;
        double number;
        double date;
        double expected;
    };
    const Row rows[] = {
        {u"m", 1, day(2024, 1, 31), day(2024, 2, 29)},
        {u"yyyy", 1, day(2024, 2, 29), day(2025, 2, 28)},
        {u"q", -1, day(2024, 5, 31), day(2024, 2, 29)},
        {u"d", 1, day(2023, 12, 31), day(2024, 1, 1)},
        {u"y", -1, day(2024, 1, 1), day(2023, 12, 31)},
        {u"w", 2, day(2024, 1, 1), day(2024, 1, 3)},
        {u"ww", 1, day(2023, 12, 28), day(2024, 1, 4)},
        {u"h", 36, day(2024, 1, 1), day(2024, 1, 2) + 0.5},
        {u"n", -1, day(2024, 1, 1), at(2023, 12, 31, 23, 59, 0)},
        {u"s", 86400, 0.25, 1.25},
        {u"M", 2, at(2024, 1, 31, 10, 30, 0), at(2024, 3, 31, 10, 30, 0)},
        {u"d", 1, -1.25, 0.25},
    };
    for (const Row& r : rows) {
        const DateResult result = dateAdd(interval(r.interval), r.number, r.date);
        EXPECT_EQ(result.error, 0);
        EXPECT_NEAR(result.value, r.expected, 1e-9) << std::u16string(r.interval).size();
    }
    EXPECT_EQ(dateAdd(DateInterval::Day, -1, kMinDate).error, 5);
    EXPECT_EQ(dateAdd(DateInterval::Year, 1, day(9999, 6, 1)).error, 5);
    EXPECT_EQ(dateAdd(DateInterval::Day, 1, 1e300).error, 5);
    EXPECT_EQ(dateDiff(DateInterval::Second, 0, std::nan("")).error, 5);
    EXPECT_EQ(datePart(DateInterval::Week, -1e9).error, 5);
    EXPECT_FALSE(parseInterval(u"x"));
    EXPECT_FALSE(parseInterval(u""));
}

TEST(DateMath, DateDiffCountsBoundariesCrossed) {
    // From 2009-01-31 00:00 to 2010-01-31 23:59 for every interval.
    const double from = day(2009, 1, 31);
    const double to = at(2010, 1, 31, 23, 59, 0);
    struct Row {
        const char16_t* interval;
        double expected;
    };
    const Row rows[] = {{u"yyyy", 1}, {u"q", 4},   {u"m", 12},   {u"y", 365},    {u"d", 365},
                        {u"w", 52},   {u"ww", 53}, {u"h", 8783}, {u"n", 527039}, {u"s", 31622340}};
    for (const Row& r : rows)
        EXPECT_EQ(dateDiff(interval(r.interval), from, to).value, r.expected)
            << std::u16string(r.interval).size();
    EXPECT_EQ(dateDiff(DateInterval::Day, to, from).value, -365);
    EXPECT_EQ(dateDiff(DateInterval::Year, day(2023, 12, 31), day(2024, 1, 1)).value, 1);
    EXPECT_EQ(dateDiff(DateInterval::Month, day(2024, 1, 31), day(2024, 2, 1)).value, 1);
    EXPECT_EQ(
        dateDiff(DateInterval::Hour, at(2024, 1, 1, 10, 59, 59), at(2024, 1, 1, 11, 0, 0)).value,
        1);
}

TEST(DateMath, DateDiffWeeksAcrossTheYearEnd) {
    struct Row {
        double from, to;
        int firstDay;
        double expected;
    };
    const Row rows[] = {
        {day(2023, 12, 30), day(2024, 1, 1), 1, 1}, // Saturday to Monday crosses a Sunday
        {day(2023, 12, 31), day(2024, 1, 6), 1, 0}, // Sunday to Saturday of the same week
        {day(2023, 12, 31), day(2024, 1, 1), 2, 1}, // weeks starting on Monday
        {day(2023, 12, 25), day(2024, 1, 7), 2, 1}, {day(2024, 1, 7), day(2023, 12, 25), 2, -1},
        {day(2023, 12, 31), day(2024, 1, 7), 0, 1}, // the system setting is Sunday
    };
    for (const Row& r : rows)
        EXPECT_EQ(dateDiff(DateInterval::Week, r.from, r.to, r.firstDay).value, r.expected)
            << r.from << " " << r.to << " " << r.firstDay;
    EXPECT_EQ(dateDiff(DateInterval::Weekday, day(2023, 12, 30), day(2024, 1, 5)).value, 0);
    EXPECT_EQ(dateDiff(DateInterval::Weekday, day(2023, 12, 30), day(2024, 1, 6)).value, 1);
    EXPECT_EQ(dateDiff(DateInterval::Week, 0, 1, 8).error, 5);
}

TEST(DateMath, DatePartWeeksOfTheYear) {
    struct Row {
        double date;
        int firstDay, firstWeek;
        double expected;
    };
    const Row rows[] = {
        {day(2024, 1, 1), 1, 1, 1},  {day(2024, 12, 31), 1, 1, 53},
        {day(2023, 1, 1), 1, 1, 1},  {day(2023, 1, 7), 1, 1, 1},
        {day(2023, 1, 8), 1, 1, 2},  {day(2021, 1, 1), 2, 2, 53}, // ISO-like weeks
        {day(2021, 1, 4), 2, 2, 1},  {day(2024, 12, 30), 2, 2, 1},
        {day(2022, 1, 1), 1, 3, 52}, {day(2022, 1, 2), 1, 3, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(datePart(DateInterval::Week, r.date, r.firstDay, r.firstWeek).value, r.expected)
            << r.date << " " << r.firstDay << " " << r.firstWeek;
}

TEST(DateMath, DatePartOtherIntervals) {
    const double d = at(2024, 8, 15, 13, 45, 30); // a Thursday
    struct Row {
        const char16_t* interval;
        double expected;
    };
    const Row rows[] = {{u"yyyy", 2024}, {u"q", 3},  {u"m", 8},  {u"y", 228}, {u"d", 15},
                        {u"w", 5},       {u"h", 13}, {u"n", 45}, {u"s", 30}};
    for (const Row& r : rows)
        EXPECT_EQ(datePart(interval(r.interval), d).value, r.expected);
    EXPECT_EQ(datePart(DateInterval::Weekday, d, 2).value, 4);
    EXPECT_EQ(datePart(DateInterval::Week, d, 1, 4).error, 5);
}
