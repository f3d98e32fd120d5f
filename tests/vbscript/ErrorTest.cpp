// Programs that fail: the error number and where.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

struct Row {
    const char* name;
    const char* source;
    int error;
    int line;
    int column; // 0: not checked
};

class ErrorTest : public ::testing::TestWithParam<Row> {};

TEST_P(ErrorTest, ReportsNumberAndPosition) {
    const ScriptRun r = runScript(GetParam().source);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, GetParam().error) << r.description;
    EXPECT_EQ(r.line, GetParam().line);
    if (GetParam().column) {
        EXPECT_EQ(r.column, GetParam().column);
    }
}

const Row kSyntax[] = {
    {"MissingExpression", "x = ", 1023, 1, 5},
    {"MissingEndIf", "If x Then\nx = 1", 1014, 2, 0},
    {"NextWithName", "For i = 1 To 2\nNext i", 1025, 2, 6},
    {"UnterminatedString", "x = \"abc", 1033, 1, 5},
    {"ParenthesesOnSubCall", "Sub F(a, b)\nEnd Sub\nF(1, 2)", 1044, 3, 2},
    {"ExitDoOutsideDo", "Exit Do", 1039, 1, 0},
    {"ExitDoInWhileOutsideDo", "While True\nExit Do\nWend", 1039, 2, 0},
    {"ExitForInDoOutsideFor", "Do\nExit For\nLoop", 1039, 2, 0},
    {"OperatorWithoutOperand", "x = 1 +* 2", 1023, 1, 8},
    {"InvalidCharacter", "x = @", 1032, 1, 5},
    {"WrongEndOfFunction", "Function F\nF = 1\nEnd Sub", 1015, 3, 5},
    {"MissingLoop", "Do\nx = 1", 1019, 2, 0},
    {"MissingWend", "While True\nx = 1", 1018, 2, 0},
    {"MissingEndSelect", "Select Case 1\nCase 1\nx = 1", 1014, 3, 0},
    {"TwoDefaults",
     "Class A\nPublic Default Property Get X\nEnd Property\nPublic Default Function Y\n"
     "End Function\nEnd Class",
     1052, 4, 0},
    {"PrivateDefault", "Class A\nPrivate Default Function X\nEnd Function\nEnd Class", 1057, 2, 0},
    {"MissingRParen", "x = 1\ny = (2", 1006, 2, 0},
    {"DimNeedsConstant", "n = 3\nDim a(n)", 1026, 2, 0},
    {"ConstNeedsLiteral", "Const A = B", 1045, 1, 0},
    {"DuplicateLocal", "Sub S\nDim a, a\nEnd Sub", 1041, 2, 0},
    {"UnexpectedNext", "Next", 1055, 1, 0},
    {"ExpectedStatement", "Then", 1024, 1, 0},
    {"ElseWithoutIf", "Else", 1024, 1, 0},
    {"LoopWithoutDo", "x = 1\nLoop", 1038, 2, 0},
    {"DoWithBothConditions", "Do While x\nLoop Until x", 1025, 2, 0},
    {"ClassInsideProcedure", "Sub S\nClass C\nEnd Class\nEnd Sub", 1002, 2, 0},
    {"ExitFunctionInSub", "Sub S\nExit Function\nEnd Sub", 1039, 2, 0},
    {"MissingThen", "If x\nEnd If", 1017, 1, 5},
    {"MissingTo", "For i = 1 5\nNext", 1013, 1, 11},
    {"MissingIn", "For Each x Array(1)\nNext", 1046, 1, 0},
    {"InitializeWithArguments", "Class C\nSub Class_Initialize(a)\nEnd Sub\nEnd Class", 1053, 2, 0},
    {"IdentifierExpected", "Dim 1", 1010, 1, 5},
    {"LetWithoutArgument", "Class A\nProperty Let P\nEnd Property\nEnd Class", 1054, 2, 0},
};
INSTANTIATE_TEST_SUITE_P(Syntax, ErrorTest, ::testing::ValuesIn(kSyntax),
                         [](const auto& info) { return std::string(info.param.name); });

const Row kRuntime[] = {
    {"DivisionByZero", "y = 1\nz = 1 / 0", 11, 2, 0},
    {"SubscriptOutOfRange", "Dim a(2)\na(5) = 1", 9, 2, 0},
    {"UnknownMember", "Class C\nEnd Class\nSet c = New C\nc.Missing", 438, 4, 0},
    {"UnknownFunction", "x = Foo(1)", 35, 1, 0},
    {"UndeclaredUnderOptionExplicit", "Option Explicit\nDim a\na = 1\nb = 2", 500, 4, 0},
    {"SetNeedsObject", "Set x = 1", 424, 1, 0},
    {"FixedArrayCannotGrow", "Dim b(1)\nReDim b(3)", 10, 2, 0},
    {"Overflow", "x = CInt(40000)", 6, 1, 0},
    {"ErrRaise", "x = 1\nErr.Raise 5", 5, 2, 0},
    {"NothingMember", "Set o = Nothing\no.Foo", 424, 2, 0},
    {"MemberOfNonObject", "o = 1\no.Foo", 424, 2, 0},
    {"ClassNotDefined", "Set o = New Missing", 506, 1, 0},
    {"WrongArgumentCount", "Sub S(a)\nEnd Sub\nS 1, 2", 450, 3, 0},
    {"PrivateMemberFromOutside", "Class C\nPrivate x\nEnd Class\nSet c = New C\nc.x = 1", 438, 5,
     0},
    {"ErrorInsideProcedureReportsItsLine", "Sub S\nx = 1\nx = 1 / 0\nEnd Sub\nS", 11, 3, 0},
    {"AssignToConstant", "Const K = 1\nK = 2", 501, 2, 0},
    {"AssignToConstantDefinedLater", "Sub S\nK = 2\nEnd Sub\nExecuteGlobal \"Const K = 1\"\nS", 501,
     2, 0},
    {"ForCounterReplacedByAProcedure", "For i = 1 To 3\nExecuteGlobal \"Sub i : End Sub\"\nNext",
     501, 1, 0},
    {"ForEachOverNumber", "For Each x In 5\nNext", 451, 1, 0},
    {"TypeMismatchIndex", "a = Array(1)\nx = a(\"z\")", 13, 2, 0},
    {"NullInFor", "For i = Null To 3\nNext", 94, 1, 0},
    {"ArgumentLockedArray", "Sub Grow(x)\nReDim a(5)\nEnd Sub\nReDim a(1)\nGrow a(0)", 10, 2, 0},
    {"OverflowOfLongInWholeDivision", "x = 1E10 \\ 3", 6, 1, 0},
    {"NothingAsValue", "Set o = Nothing\nx = o + 1", 91, 2, 0},
    {"ObjectWithoutDefault", "Class C\nEnd Class\nSet c = New C\nx = c", 438, 4, 0},
    {"ReDimPreserveOtherDimension", "ReDim a(1, 1)\nReDim Preserve a(2, 1)", 9, 2, 0},
};
INSTANTIATE_TEST_SUITE_P(Runtime, ErrorTest, ::testing::ValuesIn(kRuntime),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorTextTest, DescriptionsAreTheJapaneseTexts) {
    EXPECT_EQ(toUtf8(errorDescription(13)), "型が一致しません。");
    EXPECT_EQ(toUtf8(errorDescription(28)), "スタック領域が不足しています。");
    EXPECT_EQ(toUtf8(errorDescription(1002)), "構文エラーです。");
    EXPECT_EQ(toUtf8(errorDescription(1025)), "ステートメントの末尾が不正です。");
    const ScriptRun r = runScript("x = 1 / 0");
    EXPECT_EQ(r.description, "0 で除算しました。");
}

// Under an English user interface every number the engine raises has the language's English
// text, and Err.Description carries it too.
TEST(ErrorTextTest, EnglishDescriptions) {
    setMessageLanguage(MessageLanguage::English);
    const struct {
        int number;
        const char* text;
    } rows[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {28, "Out of stack space"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {62, "Input past end of file"},
        {91, "Object variable not set"},
        {424, "Object required"},
        {438, "Object doesn't support this property or method"},
        {500, "Variable is undefined"},
        {1002, "Syntax error"},
        {1006, "Expected ')'"},
        {1025, "Expected end of statement"},
        {32811, "Element not found"},
        {12345, "Unknown runtime error"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(toUtf8(errorDescription(row.number)), row.text) << row.number;
    const ScriptRun raised = runScript("On Error Resume Next\nx = 1 / 0\nd = Err.Description\n"
                                       "On Error GoTo 0\nErr.Raise 13, , d & \"!\"");
    EXPECT_EQ(raised.description, "Division by zero!");
    const ScriptRun syntax = runScript("x = (1");
    EXPECT_EQ(syntax.description, "Expected ')'");
    setMessageLanguage(MessageLanguage::Japanese);
    EXPECT_EQ(toUtf8(errorDescription(13)), "型が一致しません。");
}

} // namespace
} // namespace vbstest
