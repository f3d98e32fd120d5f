#include "LibraryHarness.h"

#include "vbscript/builtins/DateMath.h"
#include "vbscript/builtins/Regional.h"

#include <cmath>

using namespace vbscript;
using namespace vbscript::testing;

namespace {

Value date(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return Value::date(*lib::makeDateTime({y, m, d, h, n, s}));
}

// Every test leaves the locale as it found it: Japan.
class DateFunctions : public ::testing::Test {
protected:
    void TearDown() override { lib::setCurrentLocale(lib::kJapanLcid); }
};

} // namespace

TEST_F(DateFunctions, SerialsAndParts) {
    runRows({
        {u"DateSerial", {I(2024), I(2), I(30)}, date(2024, 3, 1)},
        {u"DateSerial", {I(24), I(1), I(1)}, date(2024, 1, 1)},
        {u"DateSerial", {I(2024), I(0), I(0)}, date(2023, 11, 30)},
        fails(u"DateSerial", {I(10000), I(1), I(1)}, 5),
        fails(u"DateSerial", {L(40000), I(1), I(1)}, 6),
        {u"TimeSerial", {I(13), I(45), I(10)}, Value::date((13 * 3600 + 45 * 60 + 10) / 86400.0)},
        {u"TimeSerial", {I(25), I(0), I(0)}, Value::date(1 + 1 / 24.0)},
        {u"Year", {date(2024, 3, 1)}, I(2024)},
        {u"Month", {S(u"2024/3/1")}, I(3)},
        {u"Day", {date(2024, 3, 1)}, I(1)},
        {u"Hour", {S(u"13:45:10")}, I(13)},
        {u"Minute", {S(u"13:45:10")}, I(45)},
        {u"Second", {S(u"13:45:10")}, I(10)},
        {u"Year", {Value::null()}, Value::null()},
        fails(u"Year", {S(u"not a date")}, 13),
        {u"Weekday", {S(u"2024/1/1")}, I(2)},
        {u"Weekday", {S(u"2024/1/1"), I(2)}, I(1)},
        fails(u"Weekday", {S(u"2024/1/1"), I(8)}, 5),
        {u"DateValue", {S(u"2024/1/5 13:45")}, date(2024, 1, 5)},
        {u"TimeValue", {S(u"2024/1/5 13:45")}, Value::date((13 * 60 + 45) / 1440.0)},
        {u"DateValue", {Value::null()}, Value::null()},
    });
}

TEST_F(DateFunctions, DateAddDiffAndPart) {
    const Value missing = Value::missing();
    runRows({
        {u"DateAdd", {S(u"m"), I(1), S(u"2024/1/31")}, date(2024, 2, 29)},
        {u"DateAdd", {S(u"yyyy"), I(-1), date(2024, 2, 29)}, date(2023, 2, 28)},
        {u"DateAdd", {S(u"h"), I(25), date(2024, 1, 1)}, date(2024, 1, 2, 1)},
        {u"DateAdd", {S(u"d"), I(1), Value::null()}, Value::null()},
        fails(u"DateAdd", {S(u"x"), I(1), date(2024, 1, 1)}, 5),
        fails(u"DateAdd", {S(u"yyyy"), I(8000), date(2024, 1, 1)}, 5),
        fails(u"DateAdd", {S(u"d"), I(1), D(1e10)}, 6), // no date at all
        fails(u"Year", {D(-1e9)}, 6),
        {u"DateDiff", {S(u"ww"), S(u"2023/12/30"), S(u"2024/1/1")}, L(1)},
        {u"DateDiff", {S(u"ww"), S(u"2023/12/31"), S(u"2024/1/6")}, L(0)},
        {u"DateDiff", {S(u"ww"), S(u"2023/12/31"), S(u"2024/1/1"), I(2)}, L(1)},
        {u"DateDiff", {S(u"yyyy"), S(u"2023/12/31"), S(u"2024/1/1")}, L(1)},
        {u"DateDiff", {S(u"d"), S(u"2024/3/1"), S(u"2024/2/1")}, L(-29)},
        {u"DateDiff", {S(u"n"), S(u"10:59"), S(u"11:01")}, L(2)},
        {u"DateDiff", {S(u"d"), Value::null(), S(u"2024/1/1")}, Value::null()},
        fails(u"DateDiff", {S(u"q"), S(u"2024/1/1"), S(u"2024/1/1"), I(9)}, 5),
        {u"DatePart", {S(u"ww"), S(u"2024/12/31")}, I(53)},
        {u"DatePart", {S(u"ww"), S(u"2021/1/1"), I(2), I(2)}, I(53)},
        {u"DatePart", {S(u"q"), S(u"2024/8/15")}, I(3)},
        {u"DatePart", {S(u"y"), S(u"2024/12/31")}, I(366)},
        {u"DatePart", {S(u"w"), S(u"2024/8/15"), missing}, I(5)},
        fails(u"DatePart", {S(u"ww"), S(u"2024/1/1"), I(1), I(4)}, 5),
    });
}

TEST_F(DateFunctions, NamesAndFormatsInJapanese) {
    runRows({
        {u"WeekdayName", {I(1)}, S(u"日曜日")},
        {u"WeekdayName", {I(1), B(true)}, S(u"日")},
        {u"WeekdayName", {I(1), B(false), I(2)}, S(u"月曜日")},
        fails(u"WeekdayName", {I(8)}, 5),
        {u"MonthName", {I(1)}, S(u"1月")},
        {u"MonthName", {I(12), B(true)}, S(u"12月")},
        fails(u"MonthName", {I(13)}, 5),
        {u"FormatDateTime", {date(2024, 1, 5, 9, 5, 3)}, S(u"2024/01/05 9:05:03")},
        {u"FormatDateTime", {date(2024, 1, 5), I(1)}, S(u"2024年1月5日")},
        {u"FormatDateTime", {date(2024, 1, 5, 9, 5), I(4)}, S(u"09:05")},
        fails(u"FormatDateTime", {date(2024, 1, 5), I(5)}, 5),
        {u"FormatNumber", {D(1234.5)}, S(u"1,234.50")},
        {u"FormatNumber", {D(-1234.5), I(0), I(-2), I(-1)}, S(u"(1,235)")},
        {u"FormatNumber", {D(0.5), I(2), I(0)}, S(u".50")},
        {u"FormatNumber", {D(1234.5), I(1), I(-2), I(-2), I(0)}, S(u"1234.5")},
        fails(u"FormatNumber", {D(1), I(-2)}, 5),
        fails(u"FormatNumber", {S(u"x")}, 13),
        {u"FormatCurrency", {D(1234.5)}, S(u"\u00A51,235")},
        {u"FormatPercent", {D(0.5)}, S(u"50.00%")},
        {u"FormatPercent", {D(0.125), I(1)}, S(u"12.5%")},
    });
}

TEST_F(DateFunctions, SetLocaleSwitchesTheRegionalSettings) {
    EXPECT_EQ(toLong(callWith(u"GetLocale", {})), 1041);
    EXPECT_EQ(toLong(callWith(u"SetLocale", {S(u"en-us")})), 1041);
    EXPECT_EQ(toLong(callWith(u"GetLocale", {})), 1033);
    runRows({
        {u"FormatCurrency", {D(1234.5)}, S(u"$1,234.50")},
        {u"MonthName", {I(1)}, S(u"January")},
        {u"WeekdayName", {I(2), B(true)}, S(u"Mon")},
        {u"DateValue", {S(u"1/5/2024")}, date(2024, 1, 5)},
        {u"FormatDateTime", {date(2024, 1, 5, 13, 5, 3)}, S(u"1/5/2024 1:05:03 PM")},
    });
    EXPECT_EQ(toLong(callWith(u"SetLocale", {L(1041)})), 1033);
    EXPECT_EQ(toLong(callWith(u"SetLocale", {I(0)})), 1041);
    callWith(u"SetLocale", {S(u"en-US")});
    EXPECT_EQ(toLong(callWith(u"SetLocale", {S(u"")})), 1033); // "" is the system setting
    EXPECT_EQ(toLong(callWith(u"GetLocale", {})), 1041);
    EXPECT_EQ(errorOf([] { callWith(u"SetLocale", {L(9999)}); }), 5);
    EXPECT_EQ(errorOf([] { callWith(u"SetLocale", {S(u"xx-yy")}); }), 5);
    EXPECT_EQ(toLong(callWith(u"GetLocale", {})), 1041);
}

TEST_F(DateFunctions, ClockFunctionsGiveTheirSubtypes) {
    const Value today = callWith(u"Date", {});
    const Value now = callWith(u"Now", {});
    const Value time = callWith(u"Time", {});
    EXPECT_EQ(today.type(), VarType::Date);
    EXPECT_EQ(today.asDate(), std::floor(today.asDate()));
    EXPECT_GE(now.asDate(), today.asDate());
    EXPECT_LT(now.asDate(), today.asDate() + 1.0001);
    EXPECT_GE(time.asDate(), 0);
    EXPECT_LT(time.asDate(), 1);
    const Value timer = callWith(u"Timer", {});
    EXPECT_EQ(timer.type(), VarType::Single);
    EXPECT_GE(timer.asSingle(), 0);
    EXPECT_LT(timer.asSingle(), 86401);
}
