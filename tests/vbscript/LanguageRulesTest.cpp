// The language's documented rules where scripts meet them sooner or later: constants' subtypes,
// argument counts and invalid arguments, On Error Resume Next inside compound statements, the
// Err object, result subtypes, conversions under the Japanese settings, and what the parser
// accepts.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

struct ExprRow {
    const char* expression;
    const char* expected; // "text:TypeName" or "error N"
};

// Each row in a fresh engine, so Rnd and the locale start where a script starts.
void expectAll(std::span<const ExprRow> rows) {
    for (const ExprRow& row : rows) {
        Engine engine;
        engine.setLanguage(u"VBScript");
        EXPECT_EQ(evalText(engine, row.expression), row.expected) << row.expression;
    }
}

TEST(LanguageRules, ConstantsCarryTheLanguagesSubtypes) {
    const ExprRow rows[] = {
        {"vbSunday", "1:Integer"},
        {"vbSaturday", "7:Integer"},
        {"vbOK", "1:Integer"},
        {"vbNo", "7:Integer"},
        {"vbRetryCancel", "5:Integer"},
        {"vbInformation", "64:Integer"},
        {"vbDefaultButton4", "768:Integer"},
        {"vbSystemModal", "4096:Integer"},
        {"vbArray", "8192:Integer"},
        {"vbFirstFullWeek", "3:Integer"},
        {"vbShortTime", "4:Integer"},
        {"vbTextCompare", "1:Integer"},
        {"vbDatabaseCompare", "2:Integer"},
        {"vbUseDefault", "-2:Integer"},
        {"vbTrue", "-1:Integer"},
        {"vbMsgBoxHelpButton", "16384:Long"},
        {"vbMsgBoxSetForeground", "65536:Long"},
        {"vbMsgBoxRight", "524288:Long"},
        {"vbMsgBoxRtlReading", "1048576:Long"},
        {"vbRed", "255:Long"},
        {"vbObjectError", "-2147221504:Long"},
        {"vbOKCancel + vbCritical", "17:Integer"},
    };
    expectAll(rows);
}

TEST(LanguageRules, BuiltinArgumentsRaiseTheLanguagesNumbers) {
    const ExprRow rows[] = {
        // Wrong counts are run-time errors; a required argument left out is 449.
        {"LBound()", "error 450"},
        {"StrComp(\"a\", \"a\", 0, 1)", "error 450"},
        {"Mid(\"abc\", , 1)", "error 449"},
        {"Eval()", "error 450"},
        {"Space(-1)", "error 5"},
        {"Space(\"-1\")", "error 5"},
        {"Space(Null)", "error 94"},
        {"Space(\"2\") & \"|\"", "  |:String"},
        {"LBound(Empty)", "error 13"},
        {"LBound(Null)", "error 13"},
        {"UBound(\"abc\")", "error 13"},
        {"Mid(Null, 1)", "Null:Null"},
        {"Mid(\"abc\", Null)", "error 94"},
        {"Mid(\"abc\", 1, Null)", "error 94"},
        {"Left(Null, 1)", "Null:Null"},
        {"Left(Null, Null)", "error 94"},
        {"Mid(Null, 0)", "error 5"},
        {"RightB(Null, -1)", "error 5"},
        {"Replace(Null, \"a\", \"b\")", "error 94"},
        {"StrReverse(Null)", "error 94"},
        {"Left(\"abc\", Null)", "error 94"},
        {"Right(\"abc\", Null)", "error 94"},
        {"Len(Null)", "Null:Null"},
        {"Join(Array(1, Null))", "error 13"},
        {"Join(Null)", "error 94"},
        {"InStr(Null, \"a\")", "Null:Null"},
        {"InStr(1, \"abc\", Null)", "Null:Null"},
        {"String(3, Null)", "Null:Null"},
        {"Chr(Null)", "error 94"},
    };
    expectAll(rows);
}

TEST(LanguageRules, ResultsKeepTheLanguagesSubtypes) {
    const ExprRow rows[] = {
        // The smallest Long divided by -1: Mod is 0, \ overflows; neither may fault the CPU.
        {"(CLng(-2147483647) - 1) Mod -1", "0:Long"},
        {"(CLng(-2147483647) - 1) Mod CLng(-1)", "0:Long"},
        {"(CLng(-2147483647) - 1) \\ -1", "error 6"},
        {"(-32767 - 1) Mod -1", "0:Integer"},
        {"-7 Mod 3", "-1:Integer"},
        {"7 Mod CLng(-3)", "1:Long"},
        {"7 Mod 0", "error 11"},
        {"7.5 Mod 2", "0:Long"},
        {"\"7\" Mod 3", "1:Long"},
        {"Round(True)", "-1:Integer"},
        {"Round(CByte(3))", "3:Byte"},
        {"CByte(True)", "255:Byte"},
        {"CByte(False)", "0:Byte"},
        {"CSng(0.001 * 0.001) = 0.000001", "True:Boolean"},
        {"CSng(0.1) = 0.1", "True:Boolean"},
        {"CSng(0.1) < 0.1", "False:Boolean"},
        {"CDbl(CSng(0.1)) = 0.1", "False:Boolean"},
        {"Rnd(0)", "1.953125E-02:Single"},
        {"-3^2", "9:Double"},
        {"2^3^2", "64:Double"},
        {"-2^-1", "-0.5:Double"},
        {"2^-1^2", "0.25:Double"},
        {"-3^2 * 2", "18:Double"},
        {"1 - -3^2", "-8:Double"},
        {"3 =>2", "True:Boolean"},
        {"3 =< 2", "False:Boolean"},
        {"3 >< 2", "True:Boolean"},
        {"&HFF&", "255:Integer"},
        {"&HFFFF&", "65535:Long"},
        {"&H7FFF&", "32767:Integer"},
        {"&O177777&", "65535:Long"},
        {"&H10000&", "65536:Long"},
    };
    expectAll(rows);
}

TEST(LanguageRules, ConversionsFollowTheJapaneseSettings) {
    const ExprRow rows[] = {
        {"CDate(\"1/2/3\")", "2001/02/03:Date"},
        {"CDate(\"30/3/1\")", "1930/03/01:Date"},
        {"CDate(\"29/3/1\")", "2029/03/01:Date"},
        {"CDate(\"99/12/31\")", "1999/12/31:Date"},
        {"CDate(\"1/13/5\")", "2005/01/13:Date"},
        {"CDate(\"12/7/2026\")", "2026/12/07:Date"},
        {"DateValue(\"1/2/3\")", "2001/02/03:Date"},
        {"IsDate(\"30/3/1\")", "True:Boolean"},
        {"#1/2/3#", "2003/01/02:Date"}, // literals read month first whatever the locale
        {"TimeValue(\"午前0:00\")", "0:00:00:Date"},
        {"TimeValue(\"午後0:30\")", "12:30:00:Date"},
        {"TimeValue(\"午前13:00\")", "error 13"},
        {"CLng(\"&HFFFF\")", "65535:Long"},
        {"CLng(\"&HFFFFFFFF\")", "-1:Long"},
        {"CInt(\"&HFFFF\")", "-1:Integer"},
        {"CInt(\"&H10000\")", "error 6"},
        {"CDbl(\"&H10\")", "16:Double"},
        {"&HFFFF", "-1:Integer"},
        {"CLng(\"¥1,234\")", "1234:Long"},
        {"CLng(\"-¥1,234\")", "-1234:Long"},
        {"CLng(\"￥1,234\")", "1234:Long"},
        {"CLng(\"１２３４\")", "1234:Long"},
        {"CDbl(\"－１，２３４．５\")", "-1234.5:Double"},
        {"IsNumeric(\"¥1,234\")", "True:Boolean"},
        {"IsNumeric(\"1,2,3a\")", "False:Boolean"},
        {"CLng(\"¥\")", "error 13"},
        {"\"１０\" + 1", "11:Double"},
        {"Round(1233.715, 2)", "1233.71:Double"},
        {"Round(2.5)", "2:Double"},
        {"Round(0.125, 2)", "0.12:Double"},
        // ISO 8601 weeks, including the first-week days some platforms report as week 53.
        {"DatePart(\"ww\", #12/31/2007#, vbMonday, vbFirstFourDays)", "1:Integer"},
        {"DatePart(\"ww\", #12/29/2008#, vbMonday, vbFirstFourDays)", "1:Integer"},
        {"DatePart(\"ww\", #12/31/2020#, vbMonday, vbFirstFourDays)", "53:Integer"},
        {"DatePart(\"ww\", #1/1/2021#, vbMonday, vbFirstFourDays)", "53:Integer"},
        {"DatePart(\"ww\", #1/4/2021#, vbMonday, vbFirstFourDays)", "1:Integer"},
    };
    expectAll(rows);
}

TEST(LanguageRules, UnitedStatesSettingsTakeTheDollar) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    ASSERT_TRUE(engine.executeStatement(u"SetLocale 1033"));
    EXPECT_EQ(evalText(engine, "CLng(\"$1,234\")"), "1234:Long");
    EXPECT_EQ(evalText(engine, "CLng(\"¥1,234\")"), "error 13");
    EXPECT_EQ(evalText(engine, "CDate(\"1/2/3\")"), "1/2/2003:Date");
}

struct ProgramRow {
    const char* name;
    const char* source;
    const char* output; // Out.Echo lines joined by "\n"; a failed run adds "error N"
};

void PrintTo(const ProgramRow& row, std::ostream* os) {
    *os << row.name;
}

class LanguageProgram : public ::testing::TestWithParam<ProgramRow> {};

TEST_P(LanguageProgram, WritesExpectedOutput) {
    const ScriptRun r = runScript(GetParam().source);
    std::string output = r.output;
    if (!r.ok)
        output += (output.empty() ? "" : "\n") + std::string("error ") + std::to_string(r.error);
    EXPECT_EQ(output, GetParam().output) << r.description;
}

// On Error Resume Next resumes into the statement whose own expression failed.
const ProgramRow kResume[] = {
    {"IfConditionEntersTheBranch",
     "On Error Resume Next\nFunction F : Err.Raise 5 : End Function\n"
     "If F() Then Out.Echo \"then\" Else Out.Echo \"else\"\nOut.Echo Err.Number",
     "then\n5"},
    {"ElseIfConditionEntersItsBranch",
     "On Error Resume Next\nIf False Then\nOut.Echo 1\nElseIf 1 / 0 Then\nOut.Echo 2\n"
     "Else\nOut.Echo 3\nEnd If\nOut.Echo Err.Number",
     "2\n11"},
    {"DoWhileRunsTheBody",
     "On Error Resume Next\nn = 0\nDo While 1 / (n - n)\nn = n + 1\nIf n = 3 Then Exit Do\n"
     "Loop\nOut.Echo n",
     "3"},
    {"WhileWendRunsTheBody",
     "On Error Resume Next\nn = 0 : t = \"x\"\nWhile CInt(t)\nn = n + 1\nIf n = 2 Then t = \"0\"\n"
     "Wend\nOut.Echo n, Err.Number",
     "2 13"},
    {"LoopWhileEndsTheLoop",
     "On Error Resume Next\nn = 0\nDo\nn = n + 1\nLoop While 1 / 0\nOut.Echo n, Err.Number",
     "1 11"},
    {"LoopUntilEndsTheLoop",
     "On Error Resume Next\nn = 0\nDo\nn = n + 1\nLoop Until CLng(\"x\")\nOut.Echo n, Err.Number",
     "1 13"},
    {"ForBoundRunsTheBodyOnceThen92",
     "On Error Resume Next\ni = 7\nFor i = 1 To 1 / 0\nOut.Echo \"body\", i\nNext\n"
     "Out.Echo i, Err.Number",
     "body 7\n7 92"},
    {"ForStepFailsTheSameWay",
     "On Error Resume Next\nFor i = 1 To 3 Step Null\nOut.Echo \"body\"\nNext\nOut.Echo Err.Number",
     "body\n92"},
    {"ForEachOverAFailingExpression",
     "On Error Resume Next\nFor Each x In Array(1 / 0)\nOut.Echo \"body\", IsEmpty(x)\nNext\n"
     "Out.Echo Err.Number",
     "body True\n451"},
    {"FailingCaseIsTheCaseTaken",
     "On Error Resume Next\nSelect Case 2\nCase 1 / 0\nOut.Echo \"first\"\nCase 2\n"
     "Out.Echo \"second\"\nEnd Select\nOut.Echo Err.Number",
     "first\n11"},
    {"FailingSubjectTakesNoCase",
     "On Error Resume Next\nSelect Case 1 / 0\nCase 1\nOut.Echo \"one\"\nCase Else\n"
     "Out.Echo \"else\"\nEnd Select\nOut.Echo Err.Number",
     "11"},
    {"WithOverAFailingExpressionRunsItsBody",
     "On Error Resume Next\nWith CreateObject(\"No.Such\")\nOut.Echo \"body\", Err.Number\n"
     "Err.Clear\n.Foo\nOut.Echo Err.Number\nEnd With",
     "body 429\n424"},
    {"WithoutResumeTheErrorStops",
     "Function F : Err.Raise 5 : End Function\nIf F() Then Out.Echo \"then\"\nOut.Echo \"after\"",
     "error 5"},
    {"ErrorsInsideTheBodyStillSkipOneStatement",
     "On Error Resume Next\nIf True Then\nx = 1 / 0\nOut.Echo \"next\"\nEnd If", "next"},
};
INSTANTIATE_TEST_SUITE_P(OnErrorResumeNext, LanguageProgram, ::testing::ValuesIn(kResume),
                         [](const auto& info) { return std::string(info.param.name); });

// Member access on Nothing and unqualified references.
const ProgramRow kObjects[] = {
    {"ReadOnNothing", "Set o = Nothing\nx = o.Prop", "error 424"},
    {"LiteralNothing", "x = Nothing.Prop", "error 424"},
    {"AssignOnNothing", "Set o = Nothing\no.Prop = 1", "error 424"},
    {"SetOnNothing", "Set o = Nothing\nSet o.Child = New RegExp", "error 424"},
    {"CallOnNothing", "Set o = Nothing\no.Run 1", "error 424"},
    {"MemberOfANumber", "x = 5\ny = x.Prop", "error 424"},
    {"WithNothingEmptyBody", "With Nothing\nEnd With\nOut.Echo \"ok\"", "ok"},
    {"WithNothingRaisesOnMember", "With Nothing\nOut.Echo \"in\"\n.Prop = 1\nEnd With",
     "in\nerror 424"},
    {"WithNumberRaisesOnMember", "With 5\nx = .Prop\nEnd With", "error 424"},
    {"UnqualifiedCompilesAndRaises505", "Out.Echo \"runs\"\nx = .Prop", "runs\nerror 505"},
    {"UnqualifiedInsideAProcedure",
     "Sub S\n.Go\nEnd Sub\nOn Error Resume Next\nS\nOut.Echo Err.Number", "505"},
    {"WithReadsMembers",
     "Class C\nPublic V\nEnd Class\nSet c = New C\nc.V = 3\nWith c\nOut.Echo .V\nEnd With", "3"},
};
INSTANTIATE_TEST_SUITE_P(NothingAndWith, LanguageProgram, ::testing::ValuesIn(kObjects),
                         [](const auto& info) { return std::string(info.param.name); });

// Index sums computed without a Value keep the operator's rules at the edges, and a global
// name read in place follows what the name is at the time (variable, procedure, builtin).
const ProgramRow kFastPaths[] = {
    {"IndexSumOfIntegersPassesTheIntegerRange",
     "Dim a(40000)\na(32768) = \"x\"\ni = 32767\nOut.Echo a(i + 1) & a(CInt(i) + CInt(1))", "xx"},
    {"IndexDifferenceBelowTheLowerBound", "Dim a(2)\ni = 0\nx = a(i - 1)", "error 9"},
    {"IndexSumBeyondALongOverflows", "Dim a(2)\ni = 2147483647\nx = a(i + 1)", "error 6"},
    {"IndexSumOfTextAndDoubleRoundsAsCLng",
     "Dim a(3)\na(2) = \"two\"\na(3) = \"three\"\ni = \"1\"\nd = 1.5\n"
     "Out.Echo a(i + 1) & \" \" & a(d + 1)",
     "two two"},
    {"IndexSumReadsTheDefaultMemberOfAnObject",
     "Class C\nPublic Default Property Get V : V = 1 : End Property\nEnd Class\n"
     "Dim a(2)\na(2) = \"ok\"\nSet o = New C\nOut.Echo a(o + 1)",
     "ok"},
    {"ElementOperandsReadInPlace",
     "Dim a(2)\na(0) = 1 : a(1) = 2\nOut.Echo (a(0) < a(1)) & (a(0) + a(1)) & (a(1) - a(0 + 1))",
     "True30"},
    {"ElementOutOfRangeAfterTheLeftSideRan",
     "Function F : Out.Echo \"left\" : F = 1 : End Function\nDim a(1)\nx = F() + a(5)",
     "left\nerror 9"},
    {"ElementIndexOfTextThenNull",
     "Dim a(1)\na(1) = \"one\"\ni = \"1\"\nOut.Echo a(i) & a(i + 0)\nx = a(Null) & \"\"",
     "oneone\nerror 13"},
    {"ElementHoldingAnObjectReadsItsDefault",
     "Class C\nPublic Default Property Get V : V = 41 : End Property\nEnd Class\n"
     "Dim a(0)\nSet a(0) = New C\nOut.Echo a(0) + 1",
     "42"},
    {"ElementOfAnArrayReDimmedBetweenPasses",
     "For k = 1 To 2\nReDim a(k)\na(k) = k\nOut.Echo a(k) + a(k - 1)\nNext", "1\n2"},
    {"CallWithOneArgumentStaysACall",
     "Function G(n) : G = n * 2 : End Function\nOut.Echo G(2) + G(3)\n"
     "Out.Echo Len(\"ab\") + Len(\"c\")",
     "10\n3"},
    {"GlobalDefinedLaterAsAProcedure",
     "x = 1\nOut.Echo x\nExecuteGlobal \"Function x : x = 7 : End Function\"\nOut.Echo x()",
     "1\n7"},
    {"BuiltinNameDimmedBecomesAVariable", "Dim Len\nOut.Echo TypeName(Len)\nx = Len(\"abc\")",
     "Empty\nerror 13"},
    {"UndeclaredInAProcedureIsItsOwn",
     "Sub S : g = 5 : End Sub\nS\nOut.Echo \"[\" & g & \"]\"\ng = 2\nS\nOut.Echo g", "[]\n5"},
};
INSTANTIATE_TEST_SUITE_P(FastPaths, LanguageProgram, ::testing::ValuesIn(kFastPaths),
                         [](const auto& info) { return std::string(info.param.name); });

// Err after Err.Raise.
const ProgramRow kErr[] = {
    {"RaiseKnownNumber",
     "On Error Resume Next\nErr.Raise 13\nOut.Echo Err.Number, Err.Source, Err.Description, "
     "\"[\" & Err.HelpFile & \"]\", Err.HelpContext",
     "13 Microsoft VBScript runtime error 型が一致しません。 [] 0"},
    {"RaiseUnknownLanguageNumber",
     "On Error Resume Next\nErr.Raise 1234\nOut.Echo Err.Number, Err.Description",
     "1234 不明な実行時エラーです。"},
    {"RaiseHresultKeepsItAndHasNoText",
     "On Error Resume Next\nErr.Raise vbObjectError + 1\nOut.Echo Err.Number, "
     "\"[\" & Err.Description & \"]\", Err.Source",
     "-2147221503 [] Microsoft VBScript runtime error"},
    {"RaiseNegativeKept", "On Error Resume Next\nErr.Raise -5\nOut.Echo Err.Number", "-5"},
    {"RaiseWithEverything",
     "On Error Resume Next\nErr.Raise 600, \"Mine\", \"説明\", \"help.chm\", 42\n"
     "Out.Echo Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext",
     "600 Mine 説明 help.chm 42"},
    {"RaiseWithoutNumber", "On Error Resume Next\nErr.Raise\nOut.Echo Err.Number", "450"},
    {"UserSubWrongCount", "Sub S(a) : End Sub\nOn Error Resume Next\nS 1, 2\nOut.Echo Err.Number",
     "450"},
    {"BuiltinWrongCountIsCatchable",
     "On Error Resume Next\nx = LBound()\nOut.Echo Err.Number\nErr.Clear\n"
     "y = StrComp(\"a\", \"a\", 0, 1)\nOut.Echo Err.Number",
     "450\n450"},
    {"JoinOfTwoDimensions", "Dim m(1, 1)\nOn Error Resume Next\nx = Join(m)\nOut.Echo Err.Number",
     "13"},
    {"RaiseZeroIsInvalid", "On Error Resume Next\nErr.Raise 0\nOut.Echo Err.Number", "5"},
};
INSTANTIATE_TEST_SUITE_P(ErrObject, LanguageProgram, ::testing::ValuesIn(kErr),
                         [](const auto& info) { return std::string(info.param.name); });

// What the parser accepts.
const ProgramRow kSyntax[] = {
    {"OneLineIfWithEmptyStatement", "x = 0\nIf True Then :\nOut.Echo \"after\"", "after"},
    {"OneLineIfColonThenStatement", "If True Then : Out.Echo \"yes\"\nOut.Echo \"after\"",
     "yes\nafter"},
    {"EndSubAfterAStatement", "Sub S() : Out.Echo \"s\" End Sub\nS", "s"},
    {"EndFunctionAfterAStatement", "Function F(x) : F = x * 2 End Function\nOut.Echo F(4)", "8"},
    {"EndFunctionAfterOneLineIf",
     "Function F(x) : If x Then F = 1 Else F = 2 End Function\nOut.Echo F(True), F(False)", "1 2"},
    {"EndClassAfterADeclaration",
     "Class C : Public V End Class\nSet c = New C\nc.V = 1\nOut.Echo c.V", "1"},
    {"ProcedureInsideAnIfBlock",
     "If False Then\nFunction G()\nG = \"g\"\nEnd Function\nEnd If\nOut.Echo G()", "g"},
    {"SubInsideALoop", "For i = 1 To 2\nSub T : Out.Echo \"t\" : End Sub\nNext\nT", "t"},
    {"ContinuationWithoutBlank", "x =_\n  5\nOut.Echo x", "5"},
    {"ContinuationAfterComma", "Out.Echo 1,_\n2", "1 2"},
    {"MemberNamedRem",
     "Class C\nPublic [Rem], [End]\nEnd Class\nSet c = New C\nc.rem = 4 : c.end = 5\n"
     "Out.Echo c.rem + c.End ' rem is a comment here",
     "9"},
    {"RemStillAComment", "x = 1 : Rem x = 2\nOut.Echo x", "1"},
    {"CallThroughParentheses",
     "Class C\nSub Run() : Out.Echo \"run\" : End Sub\nEnd Class\nCall (New C).Run()", "run"},
    {"ParenthesisedCallee",
     "Class C\nPublic Default Function Item(x) : Item = x * 3 : End Function\nEnd Class\n"
     "Set o = New C\nFunction F : Set F = o : End Function\nx = (F)(2)\nOut.Echo x\n(o)(5)",
     "6"},
    {"DimEmptyArrayInClass",
     "Class C\nDim a()\nSub Grow : ReDim a(2) : a(2) = \"z\" : End Sub\nEnd Class\n"
     "Set c = New C\nc.Grow\nOut.Echo c.a(2)",
     "z"},
    {"DimEmptyArrayInClassIsArray",
     "Class C\nPublic a()\nEnd Class\nSet c = New C\nOut.Echo IsArray(c.a)", "True"},
    {"ReDimFixedRaises10WhateverTheBound",
     "Dim a(3)\nOn Error Resume Next\nReDim a(\"x\")\nOut.Echo Err.Number\nErr.Clear\n"
     "ReDim a(Null)\nOut.Echo Err.Number",
     "10\n10"},
    {"NewRegExpIsTheBuiltin",
     "Class RegExp\nPublic Pattern\nEnd Class\nSet r = New RegExp\nr.Pattern = \"a+\"\n"
     "Out.Echo r.Test(\"caab\"), TypeName(r)",
     "True IRegExp2"},
    {"JapaneseTextThroughTheNewSyntax",
     "s = \"「メモ」：★→※・…〜−한국어😀\"\nIf Len(s) =>3 Then Out.Echo Mid(s, 2, 3)", "メモ」"},
};
INSTANTIATE_TEST_SUITE_P(Parser, LanguageProgram, ::testing::ValuesIn(kSyntax),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vbstest
