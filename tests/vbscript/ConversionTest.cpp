// Number and date text, as the language reads and writes it.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vbstest {
namespace {

TEST(ConversionTest, DoublesAreWrittenWithFifteenDigits) {
    const std::pair<double, const char*> rows[] = {
        {0.0, "0"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {1e20, "1E+20"},
        {-1.5e-10, "-0.00000000015"},
        {1e-15, "0.000000000000001"},
        {1e-16, "1E-16"},
        {0.0199999997764826, "1.99999997764826E-02"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {0.0001, "0.0001"},
        {100.0, "100"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& [v, text] : rows)
        EXPECT_EQ(toUtf8(formatDouble(v)), text) << v;
}

TEST(ConversionTest, CurrencyAndSingle) {
    EXPECT_EQ(toUtf8(formatCurrency(12345)), "1.2345");
    EXPECT_EQ(toUtf8(formatCurrency(-10000)), "-1");
    EXPECT_EQ(toUtf8(formatCurrency(INT64_MIN)), "-922337203685477.5808");
    EXPECT_EQ(toUtf8(formatSingle(0.1f)), "0.1");
    EXPECT_EQ(toUtf8(formatSingle(1e10f)), "1E+10");
}

TEST(ConversionTest, DatesInJapaneseForm) {
    const auto d = makeDate(2026, 12, 7);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(toUtf8(formatDate(*d)), "2026/12/07");
    EXPECT_EQ(toUtf8(formatDate(*d + makeTime(9, 5, 3))), "2026/12/07 9:05:03");
    EXPECT_EQ(toUtf8(formatDate(makeTime(9, 5, 3))), "9:05:03");
    EXPECT_EQ(toUtf8(formatDate(-1.25)), "1899/12/29 6:00:00");
    EXPECT_EQ(toUtf8(formatDate(*makeDate(100, 1, 1))), "0100/01/01");
    EXPECT_FALSE(makeDate(10000, 1, 1).has_value());
    EXPECT_EQ(toUtf8(formatDate(*d + makeTime(23, 59, 59))), "2026/12/07 23:59:59");
    // Half a second before midnight rounds forward in time, also below day zero, where the
    // fraction counts forward from the day's start: the next day, not the one before.
    EXPECT_EQ(toUtf8(formatDate(*d + 0.9999999999)), "2026/12/08");
    EXPECT_EQ(toUtf8(formatDate(-1.9999999999)), "1899/12/30");
}

TEST(ConversionTest, DateTextForms) {
    const double day = *makeDate(2026, 12, 7);
    const std::pair<const char*, double> rows[] = {
        {"2026/12/07", day},
        {"2026-12-7", day},
        {"2026年12月7日", day},
        {"12/7/2026", day},
        {"2026/12/07 9:05", day + makeTime(9, 5, 0)},
        {"9:05:03 PM", makeTime(21, 5, 3)},
        {"午前 0:30", makeTime(0, 30, 0)},
    };
    for (const auto& [text, expected] : rows) {
        const auto v = parseDate(fromUtf8(text));
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_NEAR(*v, expected, 1e-9) << text;
    }
    for (const char* bad : {"", "abc", "2026/13/01", "25:00", "1", "2026/02/29", "9:"})
        EXPECT_FALSE(parseDate(fromUtf8(bad)).has_value()) << bad;
}

TEST(ConversionTest, NumbersReadLikeTheSettingsStore) {
    EXPECT_EQ(parseNumber(u" 12 ").value(), 12.0);
    EXPECT_EQ(parseNumber(u"&H7FFF").value(), 32767.0);
    EXPECT_EQ(parseNumber(u"1,000").value(), 1000.0);
    EXPECT_FALSE(parseNumber(u"1,00.5,").has_value());
    EXPECT_FALSE(parseNumber(u"12a").has_value());
    EXPECT_FALSE(parseNumber(u"").has_value());
}

TEST(ConversionTest, WholeNumberConversionsRoundHalfToEven) {
    EXPECT_EQ(toLong(Value::dbl(2.5)), 2);
    EXPECT_EQ(toLong(Value::dbl(-3.5)), -4);
    EXPECT_EQ(toInteger(Value::string(u"32767.4")), 32767);
    EXPECT_THROW(toInteger(Value::string(u"32767.5")), ScriptError);
    EXPECT_EQ(toCurrency(Value::dbl(0.00005)), 0);
    EXPECT_EQ(toCurrency(Value::dbl(-2.5)), -25000);
    EXPECT_TRUE(toBool(Value::string(u" TRUE ")));
    try {
        toDouble(Value::null());
        FAIL();
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.number, 94);
    }
}

} // namespace
} // namespace vbstest
