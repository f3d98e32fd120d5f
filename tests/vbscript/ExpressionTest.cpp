// Expressions and their values: "text:TypeName" as CStr and TypeName give them.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

struct Row {
    const char* expression;
    const char* expected;
};

class ExpressionTest : public ::testing::TestWithParam<Row> {};

TEST_P(ExpressionTest, EvaluatesToValueAndType) {
    Engine engine;
    ASSERT_TRUE(engine.setLanguage(u"VBScript"));
    EXPECT_EQ(evalText(engine, GetParam().expression), GetParam().expected)
        << GetParam().expression;
}

const Row kArithmetic[] = {
    {"1+1", "2:Integer"},
    {"32767+1", "32768:Long"},
    {"-32768-1", "-32769:Long"},
    {"2147483647+1", "2147483648:Double"},
    {"100*1000", "100000:Long"},
    {"2^10", "1024:Double"},
    {"-2^2", "4:Double"},
    {"2^-1", "0.5:Double"},
    {"2^3^2", "64:Double"},
    {"7/2", "3.5:Double"},
    {"6/3", "2:Double"},
    {"7\\2", "3:Integer"},
    {"-7\\2", "-3:Integer"},
    {"7.5\\2", "4:Long"},
    {"7 Mod 3", "1:Integer"},
    {"-7 Mod 3", "-1:Integer"},
    {"7 Mod -3", "1:Integer"},
    {"5.5 Mod 2", "0:Long"},
    {"1 + 2 * 3", "7:Integer"},
    {"(1 + 2) * 3", "9:Integer"},
    {"10 - 2 - 3", "5:Integer"},
    {"5 \\ 2 * 2", "1:Integer"},
    {"10 Mod 4 \\ 2", "0:Integer"},
    {"2 * 3 Mod 4", "2:Integer"},
    {"1.5 + 1", "2.5:Double"},
    {"-(-32768)", "32768:Long"},
    {"True + True", "-2:Integer"},
    {"CByte(200) + CByte(100)", "300:Integer"},
    {"CByte(1) + CByte(2)", "3:Byte"},
    {"CSng(1.5) + 1", "2.5:Single"},
    {"CSng(1.5) + CLng(1)", "2.5:Double"},
    {"CCur(1.5) * 2", "3:Currency"},
    {"CCur(0.1) + CCur(0.2)", "0.3:Currency"},
    {"#2026/12/07# + 1", "2026/12/08:Date"},
    {"#2026/12/08# - #2026/12/07#", "1:Double"},
    {"1/0", "error 11"},
    {"0/0", "error 6"},
    {"5 \\ 0", "error 11"},
    {"5 Mod 0", "error 11"},
    {"1E308 * 10", "error 6"},
};
INSTANTIATE_TEST_SUITE_P(Arithmetic, ExpressionTest, ::testing::ValuesIn(kArithmetic));

const Row kStringsAndEmpty[] = {
    {"\"1\" + 1", "2:Double"},
    {"\"1\" + \"1\"", "11:String"},
    {"\"1\" & 1", "11:String"},
    {"\"1\"&1", "11:String"},
    {"1 & 1", "11:String"},
    {"1 + 2 & 3", "33:String"},
    {"\"a\" + 1", "error 13"},
    {"Empty + 1", "1:Integer"},
    {"Empty + Empty", "0:Integer"},
    {"Empty & \"x\"", "x:String"},
    {"\"x\" + Empty", "x:String"},
    {"Null + 1", "Null:Null"},
    {"Null & \"a\"", "a:String"},
    {"Null & Null", "Null:Null"},
    {"-Null", "Null:Null"},
    {"\"say \"\"hi\"\"\"", "say \"hi\":String"},
    {"abc", ":Empty"},
};
INSTANTIATE_TEST_SUITE_P(StringsAndEmpty, ExpressionTest, ::testing::ValuesIn(kStringsAndEmpty));

const Row kComparison[] = {
    {"1 < 2", "True:Boolean"},
    {"\"a\" < \"b\"", "True:Boolean"},
    {"\"a\" < \"B\"", "False:Boolean"},
    {"Empty = 0", "True:Boolean"},
    {"Empty = \"\"", "True:Boolean"},
    {"Empty = Empty", "True:Boolean"},
    {"Null = Null", "Null:Null"},
    {"1 = 1.0", "True:Boolean"},
    {"True = -1", "True:Boolean"},
    {"1 = 1 = True", "True:Boolean"},
    {"Not 1 = 2", "True:Boolean"},
    {"1 <> 1", "False:Boolean"},
    {"2 >= 2", "True:Boolean"},
    {"#2026/12/07# < #2026/12/08#", "True:Boolean"},
    {"Nothing Is Nothing", "True:Boolean"},
    {"1 Is Nothing", "error 424"},
};
INSTANTIATE_TEST_SUITE_P(Comparison, ExpressionTest, ::testing::ValuesIn(kComparison));

const Row kLogical[] = {
    {"Null And False", "False:Boolean"},
    {"Null And True", "Null:Null"},
    {"Null Or True", "True:Boolean"},
    {"Null Or False", "Null:Null"},
    {"Not Null", "Null:Null"},
    {"Null Xor True", "Null:Null"},
    {"False Imp Null", "True:Boolean"},
    {"True Imp Null", "Null:Null"},
    {"Null Imp True", "True:Boolean"},
    {"Null And 0", "0:Integer"},
    {"12 And 10", "8:Integer"},
    {"12 Or 3", "15:Integer"},
    {"5 Xor 3", "6:Integer"},
    {"Not 0", "-1:Integer"},
    {"Not True", "False:Boolean"},
    {"True And 1", "1:Integer"},
    {"1 Eqv 1", "-1:Integer"},
    {"True Eqv False", "False:Boolean"},
    {"0 Imp 0", "-1:Integer"},
    {"65536 And 65535", "0:Long"},
};
INSTANTIATE_TEST_SUITE_P(Logical, ExpressionTest, ::testing::ValuesIn(kLogical));

const Row kLiterals[] = {
    {"&HFF", "255:Integer"},
    {"&HFFFF", "-1:Integer"},
    {"&H10000", "65536:Long"},
    {"&HFFFF&", "65535:Long"},
    {"&O17", "15:Integer"},
    {"32768", "32768:Long"},
    {"2147483648", "2147483648:Double"},
    {".5", "0.5:Double"},
    {"1.5E3", "1500:Double"},
    {"#2026/12/07 9:05:03#", "2026/12/07 9:05:03:Date"},
    {"#9:05:03#", "9:05:03:Date"},
    {"TRUE", "True:Boolean"},
};
INSTANTIATE_TEST_SUITE_P(Literals, ExpressionTest, ::testing::ValuesIn(kLiterals));

const Row kConversions[] = {
    {"CInt(32768)", "error 6"},
    {"CInt(2.5)", "2:Integer"},
    {"CInt(3.5)", "4:Integer"},
    {"CLng(-2.5)", "-2:Long"},
    {"CInt(\"12\")", "12:Integer"},
    {"CDbl(\"1.5e3\")", "1500:Double"},
    {"CDbl(\" 1,234.5 \")", "1234.5:Double"},
    {"CDbl(\"&H10\")", "16:Double"},
    {"CDbl(\"abc\")", "error 13"},
    {"CInt(Null)", "error 94"},
    {"CStr(Null)", "error 94"},
    {"CByte(256)", "error 6"},
    {"CStr(0.1)", "0.1:String"},
    {"CStr(1E+20)", "1E+20:String"},
    {"CStr(1/3)", "0.333333333333333:String"},
    {"CStr(1E15)", "1E+15:String"},
    {"CStr(123456789012345)", "123456789012345:String"},
    {"CStr(-0.0001)", "-0.0001:String"},
    {"CStr(CSng(1/3))", "0.3333333:String"},
    {"CStr(True)", "True:String"},
    {"CBool(\"true\")", "True:Boolean"},
    {"CBool(0)", "False:Boolean"},
    {"CBool(\"x\")", "error 13"},
    {"CCur(\"1.23456\")", "1.2346:Currency"},
    {"CDate(\"2026/12/07 9:05:03\")", "2026/12/07 9:05:03:Date"},
    {"CDate(\"2026-12-07\")", "2026/12/07:Date"},
    {"CDate(\"9:05\")", "9:05:00:Date"},
    {"CDate(\"午後 3:04\")", "15:04:00:Date"},
    {"CDate(\"2026/02/30\")", "error 13"},
    {"CDate(0)", "0:00:00:Date"},
};
INSTANTIATE_TEST_SUITE_P(Conversions, ExpressionTest, ::testing::ValuesIn(kConversions));

const Row kInspection[] = {
    {"TypeName(1)", "Integer:String"},
    {"TypeName(Nothing)", "Nothing:String"},
    {"TypeName(Empty)", "Empty:String"},
    {"TypeName(Null)", "Null:String"},
    {"TypeName(Array(1, 2))", "Variant():String"},
    {"VarType(\"a\")", "8:Integer"},
    {"VarType(Array())", "8204:Integer"},
    {"VarType(1.5)", "5:Integer"},
    {"IsNumeric(\"1e3\")", "True:Boolean"},
    {"IsNumeric(\"\")", "False:Boolean"},
    {"IsNumeric(Empty)", "True:Boolean"},
    {"IsNumeric(Null)", "False:Boolean"},
    {"IsDate(\"2026/12/07\")", "True:Boolean"},
    {"IsDate(\"abc\")", "False:Boolean"},
    {"IsEmpty(undeclared)", "True:Boolean"},
    {"IsNull(Null)", "True:Boolean"},
    {"IsObject(Nothing)", "True:Boolean"},
    {"IsArray(Array())", "True:Boolean"},
    {"UBound(Array())", "-1:Long"},
    {"UBound(Array(1, 2, 3))", "2:Long"},
    {"LBound(Array(1))", "0:Long"},
    {"UBound(1)", "error 13"},
    {"UBound(Array(1), 2)", "error 9"},
    {"Array(1, 2)(1)", "2:Integer"},
};
INSTANTIATE_TEST_SUITE_P(Inspection, ExpressionTest, ::testing::ValuesIn(kInspection));

} // namespace
} // namespace vbstest
