#include "script/vba/VbaFormat.h"
#include "script/vba/OleDate.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using script::vbaFormat;
using script::VbaValue;

namespace {

VbaValue date(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return VbaValue::fromDate(
        script::combineOleDate(script::dateToOleDate(y, m, d), script::timeToOleFraction(h, n, s)));
}

VbaValue num(double n) {
    return VbaValue::fromNumber(n);
}

VbaValue str(const char16_t* s) {
    return VbaValue::fromString(QString::fromUtf16(s));
}

struct FormatCase {
    const char* name;
    VbaValue value;
    const char16_t* format;
    const char16_t* expected;
    int firstDayOfWeek = 1;
    int firstWeekOfYear = 1;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, GivesTheExpectedText) {
    const FormatCase& c = GetParam();
    const auto result =
        vbaFormat(c.value, QString::fromUtf16(c.format), c.firstDayOfWeek, c.firstWeekOfYear);
    ASSERT_EQ(result.error, 0);
    ASSERT_FALSE(result.isNull);
    EXPECT_EQ(result.text, QString::fromUtf16(c.expected));
}

// 2025-04-01 01:02:03 is a Tuesday in the seventh year of Reiwa.
const VbaValue kSample = date(2025, 4, 1, 1, 2, 3);

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatTable,
    testing::Values(
        FormatCase{"no format", num(23), u"", u"23"},
        FormatCase{"grouping", num(5459.4), u"##,##0.00", u"5,459.40"},
        FormatCase{"pads decimals", num(334.9), u"###0.00", u"334.90"},
        FormatCase{"percent", num(5), u"0.00%", u"500.00%"},
        FormatCase{"hash before point", num(0.56), u"#.##", u".56"},
        FormatCase{"zero before point", num(0.56), u"0.##", u"0.56"},
        FormatCase{"optional decimals", num(1.5), u"0.0#", u"1.5"},
        FormatCase{"required decimal", num(1), u"0.0#", u"1.0"},
        FormatCase{"scientific plus", num(12345), u"0.00E+00", u"1.23E+04"},
        FormatCase{"scientific minus small", num(0.00012345), u"0.00E-00", u"1.23E-04"},
        FormatCase{"scientific minus large", num(12345), u"0.00e-00", u"1.23e04"},
        FormatCase{"scientific rounding carries", num(99999), u"0.0E+0", u"1.0E+5"},
        FormatCase{"scaling two commas", num(100000000), u"##0,,", u"100"},
        FormatCase{"scaling below a million", num(400000), u"##0,,", u"0"},
        FormatCase{"scaling and grouping", num(1234567), u"#,##0,", u"1,235"},
        FormatCase{"scaling before point", num(1234), u"0,.0", u"1.2"},
        FormatCase{"adjacent commas inside group", num(1234567), u"#,,##0", u"1,234,567"},
        FormatCase{"literal between digits", num(1234567), u"000-0000", u"123-4567"},
        FormatCase{"leading zeros", num(5), u"000", u"005"},
        FormatCase{"more digits than placeholders", num(1234), u"00", u"1234"},
        FormatCase{"surplus digits are grouped", num(1234567), u"#,#", u"1,234,567"},
        FormatCase{"negative one section", num(-5), u"0.00", u"-5.00"},
        FormatCase{"negative with currency sign", num(-1234.5), u"$#,##0.00", u"-$1,234.50"},
        FormatCase{"negative section", num(-5), u"$#,##0;($#,##0)", u"($5)"},
        FormatCase{"zero section", num(0), u"$#,##0;;\\Z\\e\\r\\o", u"Zero"},
        FormatCase{"empty negative section", num(-5), u"0;;\\Z\\e\\r\\o", u"-5"},
        FormatCase{"negative rounding to zero", num(-0.001), u"0.00", u"0.00"},
        FormatCase{"decimal rounding", num(2.675), u"0.00", u"2.68"},
        FormatCase{"half away from zero", num(-2.5), u"0", u"-3"},
        FormatCase{"zero with hash", num(0), u"#", u""},
        FormatCase{"letters are literal beside digits", num(1234.567), u"#,##0.00 yen",
                   u"1,234.57 yen"},
        FormatCase{"quoted literal", num(3), u"0\" pcs\"", u"3 pcs"},
        FormatCase{"huge integer", num(1e20), u"0", u"100000000000000000000"},
        FormatCase{"integer digits without placeholders", num(12.5), u".00", u"12.50"},
        FormatCase{"trailing point", num(5), u"0.", u"5."},
        FormatCase{"boolean is minus one", VbaValue::fromBool(true), u"0", u"-1"},
        FormatCase{"numeric text", str(u"1234.5"), u"#,##0.0", u"1,234.5"},
        FormatCase{"text that is no number", str(u"abc"), u"0.00", u"abc"},
        FormatCase{"empty is zero", VbaValue::empty(), u"0.00", u"0.00"},
        FormatCase{"empty without format", VbaValue::empty(), u"", u""},
        FormatCase{"null section", VbaValue::null(), u"0;0;0;\\N\\u\\l\\l", u"Null"},
        FormatCase{"currency", num(1234.5), u"Currency", u"¥1,235"},
        FormatCase{"negative currency", num(-1234.5), u"currency", u"-¥1,235"},
        FormatCase{"fixed", num(1234.5), u"Fixed", u"1234.50"},
        FormatCase{"standard", num(1234.5), u"Standard", u"1,234.50"},
        FormatCase{"percent named", num(0.125), u"Percent", u"12.50%"},
        FormatCase{"scientific named", num(12345), u"Scientific", u"1.23E+04"},
        FormatCase{"general number", num(1234567.891), u"General Number", u"1234567.891"},
        FormatCase{"yes/no zero", num(0), u"Yes/No", u"No"},
        FormatCase{"yes/no other", num(3), u"Yes/No", u"Yes"},
        FormatCase{"true/false", num(0), u"True/False", u"False"},
        FormatCase{"grouping a million", num(1000000), u"#,##0", u"1,000,000"},
        FormatCase{"negative section with grouping", num(-1234.5), u"#,##0;(#,##0)", u"(1,235)"},
        FormatCase{"zero section text", num(0), u"0.00;-0.00;\"zero\"", u"zero"},
        FormatCase{"percent with decimals", num(0.255), u"0.0%", u"25.5%"},
        FormatCase{"number through string placeholders", num(123), u"@@@@@", u"  123"},
        FormatCase{"on/off", num(-1), u"On/Off", u"On"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, FormatTable,
    testing::Values(
        FormatCase{"two-digit year", kSample, u"yy", u"25"},
        FormatCase{"four-digit year", kSample, u"yyyy", u"2025"},
        FormatCase{"month", kSample, u"m", u"4"},
        FormatCase{"month two digits", kSample, u"mm", u"04"},
        FormatCase{"day", kSample, u"d", u"1"}, FormatCase{"day two digits", kSample, u"dd", u"01"},
        FormatCase{"japanese weekday", kSample, u"aaa", u"火"},
        FormatCase{"japanese weekday long", kSample, u"aaaa", u"火曜日"},
        FormatCase{"english weekday", kSample, u"ddd", u"Tue"},
        FormatCase{"english weekday long", kSample, u"dddd", u"Tuesday"},
        FormatCase{"week of year", kSample, u"ww", u"14"},
        FormatCase{"day of year", kSample, u"y", u"91"}, FormatCase{"quarter", kSample, u"q", u"2"},
        FormatCase{"weekday number", kSample, u"w", u"3"},
        FormatCase{"weekday number from monday", kSample, u"w", u"2", 2},
        FormatCase{"english month", kSample, u"mmm", u"Apr"},
        FormatCase{"english month long", kSample, u"mmmm", u"April"},
        FormatCase{"japanese month", kSample, u"oooo", u"4月"},
        FormatCase{"era letter", kSample, u"g", u"R"},
        FormatCase{"era initial", kSample, u"gg", u"令"},
        FormatCase{"era name", kSample, u"ggg", u"令和"},
        FormatCase{"era year", kSample, u"e", u"7"},
        FormatCase{"era year two digits", kSample, u"ee", u"07"},
        FormatCase{"japanese date", kSample, u"ggge年m月d日", u"令和7年4月1日"},
        FormatCase{"minutes after hours", kSample, u"h:m:s", u"1:2:3"},
        FormatCase{"padded time", kSample, u"hh:nn:ss", u"01:02:03"},
        FormatCase{"short date token", kSample, u"ddddd", u"2025/04/01"},
        FormatCase{"long date token", kSample, u"dddddd", u"2025年4月1日"},
        FormatCase{"time token", kSample, u"ttttt", u"1:02:03"},
        FormatCase{"general token", kSample, u"c", u"2025/04/01 1:02:03"},
        FormatCase{"general token date only", date(2025, 4, 1), u"c", u"2025/04/01"},
        FormatCase{"date separators", kSample, u"yyyy/mm/dd", u"2025/04/01"},
        FormatCase{"quoted and escaped text", kSample, u"\"Year \"yyyy \\y", u"Year 2025 y"},
        FormatCase{"24-hour", date(1993, 1, 27, 17, 4, 23), u"h:m:s", u"17:4:23"},
        FormatCase{"lower am/pm", date(1993, 1, 27, 17, 4, 23), u"hh:mm:ss am/pm", u"05:04:23 pm"},
        FormatCase{"upper AM/PM", date(1993, 1, 27, 17, 4, 23), u"hh:mm:ss AM/PM", u"05:04:23 PM"},
        FormatCase{"morning", date(1993, 1, 27, 9, 4, 23), u"h AM/PM", u"9 AM"},
        FormatCase{"noon is 12", date(1993, 1, 27, 12, 0, 0), u"h a/p", u"12 p"},
        FormatCase{"midnight is 12", date(1993, 1, 27, 0, 0, 0), u"h a/p", u"12 a"},
        FormatCase{"locale designator", date(1993, 1, 27, 17, 4, 23), u"AMPM h", u"午後 5"},
        FormatCase{"english long", date(1993, 1, 27), u"dddd, mmm d yyyy",
                   u"Wednesday, Jan 27 1993"},
        FormatCase{"m/d/yy", date(1958, 12, 7, 20, 50, 35), u"m/d/yy", u"12/7/58"},
        FormatCase{"d-mmmm-yy", date(1958, 12, 7, 20, 50, 35), u"d-mmmm-yy", u"7-December-58"},
        FormatCase{"hh:mm AM/PM", date(1958, 12, 7, 20, 50, 35), u"hh:mm AM/PM", u"08:50 PM"},
        FormatCase{"h:mm:ss a/p", date(1958, 12, 7, 20, 50, 35), u"h:mm:ss a/p", u"8:50:35 p"},
        FormatCase{"m/d/yy h:mm", date(1958, 12, 7, 20, 50, 35), u"m/d/yy h:mm", u"12/7/58 20:50"},
        FormatCase{"last day of heisei", date(2019, 4, 30), u"ggge", u"平成31"},
        FormatCase{"first day of reiwa", date(2019, 5, 1), u"ggge", u"令和1"},
        FormatCase{"last day of showa", date(1989, 1, 7), u"ggge", u"昭和64"},
        FormatCase{"first day of heisei", date(1989, 1, 8), u"ggge", u"平成1"},
        FormatCase{"first day of showa", date(1926, 12, 25), u"gge", u"昭1"},
        FormatCase{"first day of taisho", date(1912, 7, 30), u"ge", u"T1"},
        FormatCase{"meiji", date(1900, 1, 1), u"gggee", u"明治33"},
        FormatCase{"week from monday", kSample, u"ww", u"14", 2},
        FormatCase{"first full week", kSample, u"ww", u"13", 2, 3},
        FormatCase{"first four-day week", kSample, u"ww", u"14", 2, 2},
        FormatCase{"early january in last year's week", date(2021, 1, 1), u"ww", u"53", 1, 2},
        FormatCase{"system settings", kSample, u"ww", u"14", 0, 0},
        FormatCase{"long date", kSample, u"Long Date", u"2025年4月1日"},
        FormatCase{"medium date", kSample, u"Medium Date", u"25-04-01"},
        FormatCase{"short date", kSample, u"short date", u"2025/04/01"},
        FormatCase{"long time", kSample, u"Long Time", u"1:02:03"},
        FormatCase{"medium time", date(2008, 11, 27, 14, 11, 9), u"Medium Time", u"02:11 午後"},
        FormatCase{"short time", date(2008, 11, 27, 14, 11, 9), u"Short Time", u"14:11"},
        FormatCase{"general date", kSample, u"General Date", u"2025/04/01 1:02:03"},
        FormatCase{"date without format", date(2025, 4, 1), u"", u"2025/04/01"},
        FormatCase{"time without format", VbaValue::fromDate(0.5), u"", u"12:00:00"},
        FormatCase{"zero date", VbaValue::fromDate(0), u"", u"0:00:00"},
        FormatCase{"before 1899", VbaValue::fromDate(-1.25), u"yyyy/mm/dd hh:nn",
                   u"1899/12/29 06:00"},
        FormatCase{"number as date", num(45748), u"yyyy/mm/dd", u"2025/04/01"},
        FormatCase{"date text", str(u"2025/4/1"), u"yyyy-mm-dd", u"2025-04-01"},
        FormatCase{"japanese date text", str(u"2025年4月1日 13:05"), u"yyyy/mm/dd hh:nn",
                   u"2025/04/01 13:05"},
        FormatCase{"text that is no date", str(u"tomorrow"), u"yyyy", u"tomorrow"},
        FormatCase{"kanji between hour and minute", kSample, u"h時mm分", u"1時02分"},
        FormatCase{"month before seconds stays month", kSample, u"mm:ss", u"04:03"},
        FormatCase{"time text", str(u"13:05"), u"hh:nn AM/PM", u"01:05 PM"},
        FormatCase{"date as a number", kSample, u"0.00", u"45748.04"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, FormatTable,
    testing::Values(FormatCase{"lower", str(u"HELLO"), u"<", u"hello"},
                    FormatCase{"upper", str(u"This is it"), u">", u"THIS IS IT"},
                    FormatCase{"right to left", str(u"ab"), u"@@@@", u"  ab"},
                    FormatCase{"left to right", str(u"ab"), u"!@@@@", u"ab  "},
                    FormatCase{"ampersand adds nothing", str(u"ab"), u"&&&&", u"ab"},
                    FormatCase{"number through placeholders", num(1012043), u"@@@-@@@@",
                               u"101-2043"},
                    FormatCase{"surplus at the left", str(u"abcdef"), u"@@@-", u"abcdef-"},
                    FormatCase{"surplus at the right", str(u"abcdef"), u"!-@@@", u"-abcdef"},
                    FormatCase{"literals around", str(u"abc"), u"(@@@)", u"(abc)"},
                    FormatCase{"upper with placeholders", str(u"ab"), u">@@@", u" AB"},
                    FormatCase{"empty section", str(u""), u"@;\"(empty)\"", u"(empty)"},
                    FormatCase{"null section", VbaValue::null(), u"@;\"(null)\"", u"(null)"},
                    FormatCase{"japanese text", str(u"あいう"), u"@@@@@", u"  あいう"}));

TEST(Format, NullWithoutItsSectionStaysNull) {
    EXPECT_TRUE(vbaFormat(VbaValue::null()).isNull);
    EXPECT_TRUE(vbaFormat(VbaValue::null(), QStringLiteral("0.00")).isNull);
    EXPECT_TRUE(vbaFormat(VbaValue::null(), QStringLiteral("Fixed")).isNull);
}

TEST(Format, RejectsBadArguments) {
    struct Row {
        VbaValue value;
        const char16_t* format;
        int firstDayOfWeek;
        int firstWeekOfYear;
        int error;
    };
    const Row rows[] = {
        {kSample, u"ww", 8, 1, 5},    {kSample, u"ww", -1, 1, 5},         {kSample, u"ww", 1, 4, 5},
        {num(1e7), u"yyyy", 1, 1, 6}, {num(1e7), u"Short Date", 1, 1, 6},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(
            vbaFormat(r.value, QString::fromUtf16(r.format), r.firstDayOfWeek, r.firstWeekOfYear)
                .error,
            r.error)
            << QString::fromUtf16(r.format).toStdString();
    }
}

TEST(NumberText, WritesDoublesAsTheLanguageDoes) {
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {0.1 + 0.2, "0.3"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
        {1.5e-7, "1.5E-07"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-2.5, "-2.5"},
        {1.0 / 3, "0.333333333333333"},
        {100, "100"},
        {-1e300, "-1E+300"},
        {0, "0"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(script::vbaNumberText(r.value), QString::fromLatin1(r.text)) << r.text;
    }
}

TEST(DateText, ParsesWhatAJapaneseUserTypes) {
    const double apr1 = script::dateToOleDate(2025, 4, 1);
    EXPECT_EQ(apr1, 45748);
    EXPECT_EQ(script::parseDateText(QStringLiteral("2025/04/01")), apr1);
    EXPECT_EQ(script::parseDateText(QStringLiteral("2025-4-1")), apr1);
    EXPECT_EQ(script::parseDateText(QStringLiteral("13:30")), 13.5 / 24);
    EXPECT_EQ(script::parseDateText(QStringLiteral("1:30 PM")), 13.5 / 24);
    EXPECT_EQ(script::parseDateText(QStringLiteral("午後1:30")), 13.5 / 24);
    EXPECT_FALSE(script::parseDateText(QStringLiteral("2025/02/29")));
    EXPECT_FALSE(script::parseDateText(QStringLiteral("25:00")));
    EXPECT_FALSE(script::parseDateText(QStringLiteral("12")));
    EXPECT_FALSE(script::parseDateText(QStringLiteral("")));
}

} // namespace
