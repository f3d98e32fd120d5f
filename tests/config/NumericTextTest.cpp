#include "config/NumericText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

struct ParseCase {
    std::u16string text;
    std::optional<double> value;
};

class ParseNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumber, ReadsTheNumberOrRefusesTheText) {
    const auto& c = GetParam();
    const auto v = numtext::parseNumber(c.text);
    ASSERT_EQ(v.has_value(), c.value.has_value());
    if (c.value) {
        EXPECT_DOUBLE_EQ(*v, *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseNumber,
    testing::Values(ParseCase{u"1", 1.0}, ParseCase{u" 1.5 ", 1.5}, ParseCase{u"\t7\t", 7.0},
                    ParseCase{u"-2", -2.0}, ParseCase{u"+3", 3.0}, ParseCase{u"1e3", 1000.0},
                    ParseCase{u"1E-2", 0.01}, ParseCase{u"2.5e+1", 25.0}, ParseCase{u".5", 0.5},
                    ParseCase{u"5.", 5.0}, ParseCase{u"1e-400", 0.0}, ParseCase{u"&H10", 16.0},
                    ParseCase{u"&hff", 255.0}, ParseCase{u"&HFFFF", -1.0},
                    ParseCase{u"&H8000", -32768.0}, ParseCase{u"&H10000", 65536.0},
                    ParseCase{u"&HFFFFFFFF", -1.0}, ParseCase{u"&O17", 15.0},
                    ParseCase{u"&17", 15.0}, ParseCase{u"", std::nullopt},
                    ParseCase{u"   ", std::nullopt}, ParseCase{u"abc", std::nullopt},
                    ParseCase{u"1e", std::nullopt}, ParseCase{u"1.2.3", std::nullopt},
                    ParseCase{u"--1", std::nullopt}, ParseCase{u"&H", std::nullopt},
                    ParseCase{u"&HG", std::nullopt}, ParseCase{u"&H100000000", std::nullopt},
                    ParseCase{u"&O8", std::nullopt}, ParseCase{u"1 2", std::nullopt},
                    ParseCase{u".", std::nullopt}, ParseCase{u"1e400", std::nullopt},
                    ParseCase{u"1,5", std::nullopt}));

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2}, {3.5, 4},
                                               {-0.5, 0}, {-1.5, -2}, {3.4, 3}, {-2.6, -3}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(numtext::roundHalfEven(in), out) << in;
    EXPECT_FALSE(std::signbit(numtext::roundHalfEven(-0.4))) << "no negative zero";
}

struct CheckCase {
    const char* check;
    std::u16string text;
    bool accepted;
};

bool runCheck(const CheckCase& c) {
    const std::string name = c.check;
    if (name == "IsBool")
        return numtext::isBool(c.text);
    if (name == "IsInt")
        return numtext::isInt(c.text);
    if (name == "IsLng")
        return numtext::isLng(c.text);
    return numtext::isSng(c.text);
}

class Checks : public testing::TestWithParam<CheckCase> {};

TEST_P(Checks, AcceptOnlyTheirRange) {
    const auto& c = GetParam();
    EXPECT_EQ(runCheck(c), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Checks,
    testing::Values(CheckCase{"IsInt", u"32767", true}, CheckCase{"IsInt", u"32768", false},
                    CheckCase{"IsInt", u"-32768", true}, CheckCase{"IsInt", u"-32769", false},
                    CheckCase{"IsInt", u"32766.5", true}, CheckCase{"IsInt", u"32767.5", false},
                    CheckCase{"IsInt", u"3.4", true}, CheckCase{"IsInt", u"&HFFFF", true},
                    CheckCase{"IsInt", u"", false}, CheckCase{"IsLng", u"32768", true},
                    CheckCase{"IsLng", u"2147483647", true},
                    CheckCase{"IsLng", u"2147483648", false},
                    CheckCase{"IsLng", u"-2147483648", true},
                    CheckCase{"IsLng", u"2147483647.5", false}, CheckCase{"IsLng", u"x", false},
                    CheckCase{"IsSng", u"1.5", true}, CheckCase{"IsSng", u"32767.4", true},
                    CheckCase{"IsSng", u"32767.5", false}, CheckCase{"IsSng", u"32768", false},
                    CheckCase{"IsSng", u"1e39", false}, CheckCase{"IsSng", u"", false},
                    CheckCase{"IsBool", u"true", true}, CheckCase{"IsBool", u"TRUE", true},
                    CheckCase{"IsBool", u" False ", true}, CheckCase{"IsBool", u"1", true},
                    CheckCase{"IsBool", u"-1", true}, CheckCase{"IsBool", u"0.0", true},
                    CheckCase{"IsBool", u"yes", false}, CheckCase{"IsBool", u"", false},
                    CheckCase{"IsBool", u"truex", false}));

TEST(Conversions, GiveTheCheckedValueAndNeverOverflow) {
    EXPECT_TRUE(numtext::toBool(u"-1"));
    EXPECT_FALSE(numtext::toBool(u"0"));
    EXPECT_TRUE(numtext::toBool(u"tRuE"));
    EXPECT_EQ(numtext::toLng(u"2.5"), 2);
    EXPECT_EQ(numtext::toLng(u"3.5"), 4);
    EXPECT_EQ(numtext::toLng(u"&H7FFFFFFF"), 2147483647);
    EXPECT_FLOAT_EQ(numtext::toSng(u"1.25"), 1.25f);
    // Outside the range the checks refuse; the conversion must still be defined.
    EXPECT_EQ(numtext::toLng(u"1e20"), std::numeric_limits<int>::max());
    EXPECT_EQ(numtext::toLng(u"-1e20"), std::numeric_limits<int>::min());
    EXPECT_EQ(numtext::toSng(u"1e300"), std::numeric_limits<float>::max());
}

} // namespace
