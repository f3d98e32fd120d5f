#include "ScriptHarness.h"

#include <gtest/gtest.h>

using namespace vbscript;
using namespace vbscript::testing;

namespace {

struct Case {
    const char* expression;
    const char* expected; // "text:TypeName" or "error N"
};

void expectAll(Engine& engine, std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(evalText(engine, c.expression), c.expected) << c.expression;
}

// Runs statements; fails the test with the engine's error when they do not run.
void run(Engine& engine, const char* statements) {
    ASSERT_TRUE(engine.executeStatement(fromUtf8(statements)))
        << statements << ": error " << engine.lastError().number << " "
        << toUtf8(engine.lastError().description);
}

} // namespace

TEST(ScriptExpressions, StringFunctions) {
    expectAll(scriptEngine(), {
                                  {"Len(\"abc\")", "3:Long"},
                                  {"Left(\"abc\", 2)", "ab:String"},
                                  {"Mid(\"abc\", 5)", ":String"},
                                  {"Mid(\"abc\", 0)", "error 5"},
                                  {"InStr(1, \"ABC\", \"b\", vbTextCompare)", "2:Long"},
                                  {"InStrRev(\"a/b/c\", \"/\")", "4:Long"},
                                  {"Replace(\"abcabc\", \"b\", \"X\", 3)", "caXc:String"},
                                  {"Replace(\"abcabc\", \"b\", \"X\", 1, 1)", "aXcabc:String"},
                                  {"UBound(Split(\"a,b,c\", \",\", 2))", "1:Long"},
                                  {"Split(\"a,b,c\", \",\", 2)(1)", "b,c:String"},
                                  {"Join(Split(\"a b c\"), \"-\")", "a-b-c:String"},
                                  {"Asc(\"あ\")", "-32096:Integer"},
                                  {"Chr(&H82A0)", "あ:String"},
                                  {"StrComp(\"a\", \"A\", vbTextCompare)", "0:Integer"},
                                  {"UCase(\"abc\") & LCase(\"DEF\")", "ABCdef:String"},
                                  {"Trim(\"  x  \") & \"|\"", "x|:String"},
                                  {"String(3, \"*\")", "***:String"},
                                  {"Escape(\"a b\")", "a%20b:String"},
                                  {"Len(Null)", "Null:Null"},
                                  {"Mid(\"abc\", 2, )", "bc:String"},
                                  {"Mid(\"abc\", , 2)", "error 449"},
                                  {"Left(\"abc\", )", "error 449"},
                                  {"Right(, 1)", "error 449"},
                                  {"Join(Null)", "error 94"},
                                  {"Join(Array(1, Null))", "error 13"},
                                  {"Round(True)", "-1:Integer"},
                                  {"Asc(Chr(255))", "255:Integer"},
                              });
}

// A parameter its caller left out reaches the library as the missing value.
TEST(ScriptStatements, ParametersLeftOutReachTheLibrary) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    run(engine, "Function Piece(s, start, length)\n"
                "  Piece = Mid(s, start, length)\n"
                "End Function\n"
                "Function Head(s, n)\n"
                "  Head = Left(s, n)\n"
                "End Function");
    expectAll(engine, {
                          {"Piece(\"abcd\", 2, )", "bcd:String"},
                          {"Piece(\"abcd\", , 2)", "error 13"},
                          {"Piece(, 1, 2)", "error 13"},
                          {"Head(, 2)", "error 13"},
                          {"Head(\"abc\", )", "error 13"},
                      });
}

TEST(ScriptExpressions, MathFunctions) {
    expectAll(scriptEngine(), {
                                  {"Round(2.5)", "2:Double"},
                                  {"Round(3.5)", "4:Double"},
                                  {"Round(2.675, 2)", "2.67:Double"},
                                  {"Round(-2.5)", "-2:Double"},
                                  {"Hex(-1)", "FFFF:String"},
                                  {"Hex(255)", "FF:String"},
                                  {"Oct(8)", "10:String"},
                                  {"Int(-2.5)", "-3:Double"},
                                  {"Fix(-2.5)", "-2:Double"},
                                  {"Abs(-5)", "5:Integer"},
                                  {"Sgn(-0.5)", "-1:Integer"},
                                  {"Sqr(2) * Sqr(2) > 1.9999", "True:Boolean"},
                                  {"Log(0)", "error 5"},
                              });
}

TEST(ScriptExpressions, DateFunctionsAndFormats) {
    expectAll(scriptEngine(), {
                                  {"DateSerial(2024, 2, 30)", "2024/03/01:Date"},
                                  {"DateAdd(\"m\", 1, \"2024/1/31\")", "2024/02/29:Date"},
                                  {"DateDiff(\"ww\", \"2023/12/30\", \"2024/1/1\")", "1:Long"},
                                  {"DateDiff(\"d\", #12/31/2023#, #1/1/2024#)", "1:Long"},
                                  {"DatePart(\"ww\", \"2024/12/31\")", "53:Integer"},
                                  {"WeekdayName(Weekday(\"2024/1/1\"))", "月曜日:String"},
                                  {"MonthName(4)", "4月:String"},
                                  {"Year(Now) > 2000", "True:Boolean"},
                                  {"TimeSerial(13, 5, 0)", "13:05:00:Date"},
                                  {"DateValue(\"2024年1月5日\")", "2024/01/05:Date"},
                                  {"FormatNumber(1234.5)", "1,234.50:String"},
                                  {"FormatCurrency(1234.5)", "\u00A51,235:String"},
                                  {"FormatPercent(0.256)", "25.60%:String"},
                                  {"FormatDateTime(#1/5/2024#, vbLongDate)", "2024年1月5日:String"},
                                  {"GetLocale()", "1041:Long"},
                                  {"DateAdd(\"q\", 1, Null)", "Null:Null"},
                              });
}

TEST(ScriptExpressions, ConstantsAndObjects) {
    expectAll(scriptEngine(),
              {
                  {"vbYesNoCancel + vbQuestion", "35:Integer"},
                  {"vbNo", "7:Integer"},
                  {"Len(vbCrLf)", "2:Long"},
                  {"TypeName(CreateObject(\"Scripting.Dictionary\"))", "Dictionary:String"},
                  {"TypeName(New RegExp)", "IRegExp2:String"},
                  {"CreateObject(\"Foo.Bar\")", "error 429"},
              });
}

TEST(ScriptStatements, DictionaryInScripts) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    run(engine, "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                "d.Add \"a\", 1\n"
                "d(\"b\") = 2\n"
                "d.Item(\"c\") = 3\n"
                "s = \"\"\n"
                "For Each k In d\n"
                "  s = s & k & \"=\" & d(k) & \";\"\n"
                "Next");
    expectAll(engine, {
                          {"s", "a=1;b=2;c=3;:String"},
                          {"d.Count", "3:Long"},
                          {"Join(d.Keys, \",\")", "a,b,c:String"},
                          {"d.Exists(\"b\")", "True:Boolean"},
                      });
    run(engine, "d.Remove \"b\"\nd.Key(\"c\") = \"z\"");
    expectAll(engine, {{"Join(d.Keys, \",\")", "a,z:String"}, {"d.Count", "2:Long"}});
    EXPECT_FALSE(engine.executeStatement(u"d.Add \"a\", 9"));
    EXPECT_EQ(engine.lastError().number, 457);
}

TEST(ScriptStatements, RegExpInScripts) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    run(engine, "Set re = New RegExp\n"
                "re.Pattern = \"(\\d+)-(\\d+)\"\n"
                "re.Global = True\n"
                "Set ms = re.Execute(\"10-20 x 30-40\")\n"
                "s = \"\"\n"
                "For Each m In ms\n"
                "  s = s & m.FirstIndex & \":\" & m.SubMatches(1) & \";\"\n"
                "Next");
    expectAll(engine, {
                          {"s", "0:20;8:40;:String"},
                          {"ms.Count", "2:Long"},
                          {"ms(1) & \"\"", "30-40:String"},
                          {"ms(0).Length", "5:Long"},
                          {"re.Replace(\"1-2 3-4\", \"$2-$1\")", "2-1 4-3:String"},
                          {"re.Test(\"none\")", "False:Boolean"},
                          {"re.Replace(\"1-2\", True)", "-1:String"},
                      });
    run(engine, "re.Pattern = \"(\"");
    EXPECT_EQ(evalText(engine, "re.Test(\"x\")"), "error 5020");
}

TEST(ScriptStatements, FileSystemObjectInScripts) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    run(engine, "Set fso = CreateObject(\"Scripting.FileSystemObject\")\n"
                "p = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName())\n"
                "Set f = fso.CreateTextFile(p)\n"
                "f.WriteLine \"こんにちは\"\n"
                "f.Close\n"
                "Set f = fso.OpenTextFile(p)\n"
                "line = f.ReadLine\n"
                "f.Close\n"
                "fso.DeleteFile p");
    expectAll(engine, {
                          {"line", "こんにちは:String"},
                          {"fso.FileExists(p)", "False:Boolean"},
                          {"fso.GetExtensionName(p)", "tmp:String"},
                      });
}
