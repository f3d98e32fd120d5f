#include "vbscript/builtins/DateText.h"
#include "vbscript/builtins/DateMath.h"

#include <gtest/gtest.h>

using namespace vbscript::lib;

namespace {

double at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return *makeDateTime({y, m, d, h, n, s});
}

double timeOnly(int h, int n, int s = 0) {
    return (h * 3600 + n * 60 + s) / 86400.0;
}

const RegionalSettings& japan() {
    return regionalSettings(kJapanLcid);
}
const RegionalSettings& us() {
    return regionalSettings(kUnitedStatesLcid);
}

} // namespace

TEST(DateText, FormatsByNamedFormatInBothLocales) {
    struct Row {
        double date;
        NamedDateFormat format;
        int lcid;
        const char16_t* expected;
    };
    const double when = at(2024, 1, 5, 9, 5, 3);
    const Row rows[] = {
        {when, NamedDateFormat::General, kJapanLcid, u"2024/01/05 9:05:03"},
        {at(2024, 1, 5), NamedDateFormat::General, kJapanLcid, u"2024/01/05"},
        {timeOnly(13, 0), NamedDateFormat::General, kJapanLcid, u"13:00:00"},
        {0, NamedDateFormat::General, kJapanLcid, u"0:00:00"},
        {when, NamedDateFormat::LongDate, kJapanLcid, u"2024年1月5日"},
        {when, NamedDateFormat::ShortDate, kJapanLcid, u"2024/01/05"},
        {when, NamedDateFormat::LongTime, kJapanLcid, u"9:05:03"},
        {when, NamedDateFormat::ShortTime, kJapanLcid, u"09:05"},
        {when, NamedDateFormat::General, kUnitedStatesLcid, u"1/5/2024 9:05:03 AM"},
        {at(2024, 1, 5, 0, 30), NamedDateFormat::LongTime, kUnitedStatesLcid, u"12:30:00 AM"},
        {at(2024, 1, 5, 12, 30), NamedDateFormat::LongTime, kUnitedStatesLcid, u"12:30:00 PM"},
        {when, NamedDateFormat::LongDate, kUnitedStatesLcid, u"Friday, January 5, 2024"},
        {when, NamedDateFormat::ShortTime, kUnitedStatesLcid, u"09:05"},
        {at(100, 1, 1), NamedDateFormat::General, kJapanLcid, u"0100/01/01"},
        {-1.25, NamedDateFormat::General, kJapanLcid, u"1899/12/29 6:00:00"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(formatDateTime(r.date, r.format, regionalSettings(r.lcid)), r.expected)
            << r.date << " " << int(r.format) << " " << r.lcid;
}

TEST(DateText, ParsesJapaneseIsoAndEnglishForms) {
    struct Row {
        const char16_t* text;
        int lcid;
        double expected;
    };
    const Row rows[] = {
        {u"2024/1/5", kJapanLcid, at(2024, 1, 5)},
        {u"2024-01-05", kJapanLcid, at(2024, 1, 5)},
        {u"2024.1.5", kJapanLcid, at(2024, 1, 5)},
        {u"2024年1月5日", kJapanLcid, at(2024, 1, 5)},
        {u"２０２４／１／５", kJapanLcid, at(2024, 1, 5)},
        {u"24/1/5", kJapanLcid, at(2024, 1, 5)},
        {u"1/5/2024", kJapanLcid, at(2024, 1, 5)},
        {u"1/5", kJapanLcid, at(2030, 1, 5)},
        {u"2024/2", kJapanLcid, at(2024, 2, 1)},
        {u"2024/1/5 13:45:10", kJapanLcid, at(2024, 1, 5, 13, 45, 10)},
        {u" 2024-01-05 7:05 ", kJapanLcid, at(2024, 1, 5, 7, 5)},
        {u"13:45", kJapanLcid, timeOnly(13, 45)},
        {u"13時45分10秒", kJapanLcid, timeOnly(13, 45, 10)},
        {u"午後1:45", kJapanLcid, timeOnly(13, 45)},
        {u"午前12:10", kJapanLcid, timeOnly(0, 10)},
        {u"1:45 PM", kJapanLcid, timeOnly(13, 45)},
        {u"3 pm", kJapanLcid, timeOnly(15, 0)},
        {u"1/5/24", kUnitedStatesLcid, at(2024, 1, 5)},
        {u"13/1/2024", kUnitedStatesLcid, at(2024, 1, 13)},
        {u"Jan 5, 2024", kUnitedStatesLcid, at(2024, 1, 5)},
        {u"5-Jan-09", kJapanLcid, at(2009, 1, 5)},
        {u"Friday, January 5, 2024 9:05:03 AM", kUnitedStatesLcid, at(2024, 1, 5, 9, 5, 3)},
        {u"September 2024", kJapanLcid, at(2024, 9, 1)},
    };
    for (const Row& r : rows) {
        const auto parsed = parseDateTime(r.text, regionalSettings(r.lcid), 2030);
        ASSERT_TRUE(parsed) << std::u16string(r.text).size();
        EXPECT_NEAR(*parsed, r.expected, 1e-9) << std::u16string(r.text).size();
    }
}

TEST(DateText, RejectsWhatIsNoDate) {
    const char16_t* rows[] = {u"",          u"abc",       u"2024/2/30", u"2024/13/1", u"25:00",
                              u"12:60",     u"5",         u"1:00 1:00", u"1/2/3/4",   u"13 pm",
                              u"2024/1/5x", u"10000/1/1", u"0099/1/1",  u"&H10"};
    for (const char16_t* text : rows)
        EXPECT_FALSE(parseDateTime(text, japan(), 2030)) << std::u16string(text).size();
    EXPECT_FALSE(parseDateTime(u"13/13/2024", us(), 2030));
}

TEST(DateText, FormattedDatesReadBack) {
    for (const RegionalSettings* s : {&japan(), &us()}) {
        for (double d : {at(2024, 1, 5, 9, 5, 3), at(1999, 12, 31), timeOnly(23, 59, 59)}) {
            const auto back = parseDateTime(dateToText(d, *s), *s, 2030);
            ASSERT_TRUE(back);
            EXPECT_NEAR(*back, d, 1e-9);
        }
    }
}
