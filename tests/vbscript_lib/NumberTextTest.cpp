#include "vbscript/builtins/NumberText.h"

#include <gtest/gtest.h>

using namespace vbscript::lib;

namespace {

const RegionalSettings& japan() {
    return regionalSettings(kJapanLcid);
}

NumberFormatOptions opts(int digits, int leading = -2, int parens = -2, int group = -2) {
    return {digits, leading, parens, group};
}

} // namespace

TEST(NumberText, FormatNumberWithJapaneseSettings) {
    struct Row {
        double value;
        NumberFormatOptions options;
        const char16_t* expected;
    };
    const Row rows[] = {
        {1234.5, {}, u"1,234.50"},
        {-1234.5, {}, u"-1,234.50"},
        {-1234.5, opts(-1, -2, -1), u"(1,234.50)"},
        {0.5, opts(2, 0), u".50"},
        {-0.5, opts(2, 0), u"-.50"},
        {0.5, opts(2, -1), u"0.50"},
        {1234.5, opts(2, -2, -2, 0), u"1234.50"},
        {1234.5, opts(0), u"1,235"},
        {2.5, opts(0), u"3"},
        {-2.5, opts(0), u"-3"},
        {2.675, opts(2), u"2.68"},
        {999.995, opts(2), u"1,000.00"},
        {-0.001, opts(2), u"0.00"},
        {0, {}, u"0.00"},
        {1e15, opts(0), u"1,000,000,000,000,000"},
        {123456789.123, opts(3), u"123,456,789.123"},
        {1.0 / 3, opts(20), u"0.33333333333333300000"},
        {0.000123, opts(5), u"0.00012"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(formatNumber(r.value, r.options, japan()), r.expected) << r.value;
}

TEST(NumberText, CurrencyAndPercent) {
    const RegionalSettings& us = regionalSettings(kUnitedStatesLcid);
    EXPECT_EQ(formatCurrency(1234.5, {}, japan()), u"\u00A51,235");
    EXPECT_EQ(formatCurrency(-1234.5, {}, japan()), u"-\u00A51,235");
    EXPECT_EQ(formatCurrency(-1234.5, opts(-1, -2, -1), japan()), u"(\u00A51,235)");
    EXPECT_EQ(formatCurrency(1234.5, opts(2), japan()), u"\u00A51,234.50");
    EXPECT_EQ(formatCurrency(1234.5, {}, us), u"$1,234.50");
    EXPECT_EQ(formatPercent(0.256, {}, japan()), u"25.60%");
    EXPECT_EQ(formatPercent(0.5, opts(0), japan()), u"50%");
    EXPECT_EQ(formatPercent(-0.5, opts(0, -2, -1), japan()), u"(50%)");
    EXPECT_EQ(formatPercent(12.345, opts(1), japan()), u"1,234.5%");
}

TEST(NumberText, RoundGoesToTheEvenNeighbour) {
    struct Row {
        double value;
        int digits;
        double expected;
    };
    const Row rows[] = {
        {2.5, 0, 2},
        {3.5, 0, 4},
        {-2.5, 0, -2},
        {-3.5, 0, -4},
        {0.5, 0, 0},
        {1.5, 0, 2},
        {2.4999, 0, 2},
        {0.125, 2, 0.12},
        {0.135, 2, 0.14},
        {2.675, 2, 2.67},
        {1.005, 2, 1},
        {12345.6789, 2, 12345.68},
        {-0.0001, 2, 0},
        {1e20, 0, 1e20},
        {123.456, 5, 123.456},
        {1233.715, 2, 1233.71},
        {1233.725, 2, 1233.72},
        {0.285, 2, 0.28},
    };
    for (const Row& r : rows)
        EXPECT_EQ(roundHalfEvenAt(r.value, r.digits), r.expected) << r.value << " " << r.digits;
}

TEST(NumberText, HexAndOctInTwosComplement) {
    EXPECT_EQ(hexText(255, 32), u"FF");
    EXPECT_EQ(hexText(0, 16), u"0");
    EXPECT_EQ(hexText(-1, 16), u"FFFF");
    EXPECT_EQ(hexText(-1, 32), u"FFFFFFFF");
    EXPECT_EQ(hexText(-65536, 32), u"FFFF0000");
    EXPECT_EQ(octText(8, 32), u"10");
    EXPECT_EQ(octText(-1, 16), u"177777");
    EXPECT_EQ(octText(-1, 32), u"37777777777");
}
