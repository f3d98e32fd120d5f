// Programs and what they write through Out.Echo.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

struct Row {
    const char* name;
    const char* source;
    const char* output;
};

class ProgramTest : public ::testing::TestWithParam<Row> {};

TEST_P(ProgramTest, WritesExpectedOutput) {
    const ScriptRun r = runScript(GetParam().source);
    EXPECT_TRUE(r.ok) << "error " << r.error << " " << r.description << " at line " << r.line;
    EXPECT_EQ(r.output, GetParam().output);
}

const Row kRows[] = {
    {"IntegerOverflowBecomesLong", "x = 32767 : x = x + 1 : Out.Echo x, TypeName(x)", "32768 Long"},
    {"ByRefAndByVal",
     "Sub Inc(a) : a = a + 1 : End Sub\n"
     "Sub IncV(ByVal a) : a = a + 1 : End Sub\n"
     "x = 1 : Inc x : Out.Echo x\nIncV x : Out.Echo x\nInc (x) : Out.Echo x\n"
     "Call Inc(x) : Out.Echo x",
     "2\n2\n2\n3"},
    {"ByRefArrayElement",
     "Sub Inc(a) : a = a + 1 : End Sub\nDim arr(2) : arr(1) = 5 : Inc arr(1) : Out.Echo arr(1)",
     "6"},
    {"FrameLargerThanTheInlineSlots",
     "Function Big(n)\nDim a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a16\n"
     "a16 = n : If n > 0 Then a1 = Big(n - 1)\nBig = a1 + a16\nEnd Function\n"
     "Function Small(n, ByVal m)\nDim t\nt = Big(n) : m = m + t : Small = m\nEnd Function\n"
     "y = 1 : Out.Echo Big(10), Small(3, y), y",
     "55 7 1"},
    {"ByValIsCopiedAfterAllArgumentsRan",
     "Function Bump()\nx = x + 10\nEnd Function\nFunction First(ByVal a, b)\nFirst = a\n"
     "End Function\nDim x : x = 1 : Out.Echo First(x, Bump()), x",
     "11 11"},
    {"ArgumentsRunBeforeTheCountIsChecked",
     "Dim x\nSub S(a)\nEnd Sub\nFunction Bump()\nx = x + 1\nEnd Function\nOn Error Resume Next\n"
     "S Bump(), Bump()\nOut.Echo Err.Number, x",
     "450 2"},
    {"LeftOutArgumentOfAProcedure", "Function F(a, b)\nF = b\nEnd Function\nOut.Echo F(, 2)", "2"},
    {"ArrayElementPassedByReferenceIsLocked",
     "Dim a()\nReDim a(2)\nSub S(v)\nOn Error Resume Next\nReDim a(5)\nOut.Echo Err.Number\n"
     "v = 7\nEnd Sub\nS a(1)\nOut.Echo a(1), UBound(a)",
     "10\n7 2"},
    {"UndeclaredGlobalUpdatedInASub",
     "count = 0\nSub Inc\ncount = count + 1\nEnd Sub\nInc : Inc : Out.Echo count", "2"},
    {"UndeclaredNameWithoutAGlobalIsLocal",
     "Sub S\nn = n + 1\nOut.Echo n\nEnd Sub\nS : S : Out.Echo IsEmpty(n)", "1\n1\nTrue"},
    {"ReDimInAProcedureDeclaresALocal",
     "x = 5\nSub T\nReDim x(2)\nx(1) = 3\nOut.Echo UBound(x), x(1)\n"
     "End Sub\nT : Out.Echo x",
     "2 3\n5"},
    {"ExitFor", "For i = 1 To 10\nIf i = 3 Then Exit For\nNext\nOut.Echo i", "3"},
    {"ExitDo", "Do\nn = n + 1\nIf n >= 5 Then Exit Do\nLoop\nOut.Echo n", "5"},
    {"ExitInnerLoopOnly",
     "For i = 1 To 3\nFor j = 1 To 3\nIf j = 2 Then Exit For\nc = c + 1\nNext\nNext\nOut.Echo c",
     "3"},
    {"ExitFunction", "Function F()\nF = 1\nExit Function\nF = 2\nEnd Function\nOut.Echo F()", "1"},
    {"ClassDefaultProperty",
     "Class Box\nPrivate m\nPublic Default Property Get Value\nValue = m\nEnd Property\n"
     "Public Property Let Value(v)\nm = v\nEnd Property\nEnd Class\n"
     "Set b = New Box : b.Value = 42 : Out.Echo b : Out.Echo b + 1\nx = b : Out.Echo TypeName(x)",
     "42\n43\nInteger"},
    {"ResumeNextSkipsFailingStatementOnly",
     "On Error Resume Next\nx = 1\ny = 1 / 0\nOut.Echo \"after\", Err.Number\nx = 2\n"
     "Out.Echo x\nOn Error GoTo 0\nOut.Echo Err.Number",
     "after 11\n2\n0"},
    {"ResumeNextAcrossCall",
     "Function Bad()\nBad = 1 / 0\nOut.Echo \"not here\"\nEnd Function\n"
     "On Error Resume Next\nr = Bad()\nOut.Echo \"r=\" & r, Err.Number",
     "r= 11"},
    {"ResumeNextEntersIfOnFailingCondition",
     "On Error Resume Next\nIf 1 / 0 Then\nOut.Echo \"in\"\nElse\nOut.Echo \"else\"\nEnd If", "in"},
    {"InitializeAndTerminate",
     "Class T\nSub Class_Initialize\nOut.Echo \"init\"\nEnd Sub\n"
     "Sub Class_Terminate\nOut.Echo \"term\"\nEnd Sub\nEnd Class\n"
     "Set t = New T : Set t = Nothing : Out.Echo \"end\"",
     "init\nterm\nend"},
    {"SelectCase",
     "For Each v In Array(1, \"a\", 3, 7)\nSelect Case v\nCase 1, 3 : Out.Echo \"odd\"\n"
     "Case \"a\" : Out.Echo \"letter\"\nCase Else : Out.Echo \"other\"\nEnd Select\nNext",
     "odd\nletter\nodd\nother"},
    {"Loops",
     "For i = 5 To 1 Step -2 : s = s & i : Next : Out.Echo s\n"
     "Do Until n = 3 : n = n + 1 : Loop : Out.Echo n\n"
     "Do : m = m + 1 : Loop While m < 4 : Out.Echo m\n"
     "While k < 2 : k = k + 1 : Wend : Out.Echo k\n"
     "Do While False : Out.Echo \"never\" : Loop\n"
     "For x = 1 To 0 : Out.Echo \"never\" : Next : Out.Echo x",
     "531\n3\n4\n2\n1"},
    {"FractionalStep", "For x = 0 To 1 Step 0.25 : c = c + 1 : Next : Out.Echo c, x", "5 1.25"},
    {"ReDimPreserve",
     "ReDim a(2) : a(0) = \"x\" : a(2) = \"z\"\nReDim Preserve a(4) : a(4) = \"w\"\n"
     "Out.Echo UBound(a), a(0), a(2), a(4), IsEmpty(a(3))",
     "4 x z w True"},
    {"DynamicArrayDeclaration",
     "Dim a()\nOut.Echo IsArray(a)\nOn Error Resume Next\nx = UBound(a)\nOut.Echo Err.Number\n"
     "ReDim a(2)\nOut.Echo UBound(a)",
     "True\n9\n2"},
    {"MultiDimensional", "Dim g(2, 3) : g(1, 2) = 5 : Out.Echo UBound(g, 1), UBound(g, 2), g(1, 2)",
     "2 3 5"},
    {"ArraysCopyOnAssignment", "a = Array(1, 2) : b = a : b(0) = 9 : Out.Echo a(0), b(0)", "1 9"},
    {"ArrayPassedByValueIsCopied",
     "Sub Change(ByVal v) : v(0) = 7 : End Sub\na = Array(1) : Change a : Out.Echo a(0)", "1"},
    {"ArrayPassedByReferenceIsShared",
     "Sub Change(v) : v(0) = 7 : End Sub\na = Array(1) : Change a : Out.Echo a(0)", "7"},
    {"WithBlock",
     "Class P\nPublic Name\nPublic Sub Hello\nOut.Echo \"hi \" & Name\nEnd Sub\nEnd Class\n"
     "Set p = New P\nWith p\n.Name = \"Bob\"\n.Hello\nEnd With",
     "hi Bob"},
    {"ExecuteEvalGetRef",
     "ExecuteGlobal \"Function Twice(x) : Twice = x * 2 : End Function\"\n"
     "Out.Echo Twice(4)\nExecute \"y = 5\"\nOut.Echo y, Eval(\"y * 2\")\n"
     "Set f = GetRef(\"Twice\")\nOut.Echo f(21)\n"
     "Sub Local1\nDim z : z = 3\nExecute \"z = z + 1\"\nOut.Echo z\nEnd Sub\nLocal1",
     "8\n5 10\n42\n4"},
    {"AppendInPlaceKeepsCopiesApart",
     "For i = 1 To 5 : s = s & i : Next : t = s : s = s & \"x\" : Out.Echo t, s", "12345 12345x"},
    {"AppendReadsVariableBeforeTail",
     "Function Touch()\ns2 = \"changed\"\nTouch = \"!\"\nEnd Function\n"
     "s2 = \"orig\" : s2 = s2 & Touch() : Out.Echo s2",
     "orig!"},
    {"AppendVariablesSharingTheText",
     "s = \"日本\" : s = s & s : t = s : s = s & t : u = s : s = s & Null : s = s & 1.5\n"
     "Out.Echo s, t, u",
     "日本日本日本日本1.5 日本日本 日本日本日本日本"},
    {"AppendToNonString", "n = 5 : n = n & 1 : Out.Echo n, TypeName(n)", "51 String"},
    {"PropertySetAndGetObjects",
     "Class Holder\nPrivate m_obj\nPublic Property Set Item(o)\nSet m_obj = o\nEnd Property\n"
     "Public Property Get Item\nSet Item = m_obj\nEnd Property\nEnd Class\n"
     "Set h = New Holder : Set h.Item = New Holder : Out.Echo TypeName(h.Item)",
     "Holder"},
    {"MeAndPrivateMembers",
     "Class Counter\nPrivate n\nPrivate Sub Bump\nn = n + 1\nEnd Sub\n"
     "Public Function Twice\nMe.Bump : Bump : Twice = n\nEnd Function\nEnd Class\n"
     "Set c = New Counter : Out.Echo c.Twice",
     "2"},
    {"ImplicitLocalsAndGlobals", "g = 1\nSub S\ng = 2\nh = 5\nEnd Sub\nS : Out.Echo g, IsEmpty(h)",
     "2 True"},
    {"ObjectIdentity",
     "Class P\nEnd Class\nSet a = New P : Set b = a : Out.Echo a Is b, a Is Nothing", "True False"},
    {"CaseInsensitive", "DIM X : x = 3 : OUT.ECHO X", "3"},
    {"ContinuationAndComments",
     "' comment\nRem another\nx = 1 + _\n  2 ' trailing\nOut.Echo x : Rem end", "3"},
    {"NullConditionIsFalse", "If Null Then Out.Echo \"yes\" Else Out.Echo \"no\"", "no"},
    {"DateLiteral", "Out.Echo #2026/12/07#, #2026/12/07 13:04:05#",
     "2026/12/07 2026/12/07 13:04:05"},
    {"ErrRaiseCustom",
     "On Error Resume Next\nErr.Raise 1000, \"src\", \"custom\"\n"
     "Out.Echo Err.Number, Err.Source, Err.Description\nErr.Clear\nOut.Echo Err.Number",
     "1000 src custom\n0"},
    {"ErrRaiseKnownNumber", "On Error Resume Next\nErr.Raise 9\nOut.Echo Err.Description",
     "インデックスが有効範囲にありません。"},
    {"FunctionReturningArray",
     "Function A()\nA = Array(1, 2, 3)\nEnd Function\nOut.Echo UBound(A()), A()(1)", "2 2"},
    {"EraseDynamicAndFixed",
     "Dim f(1) : f(0) = 1 : Erase f : Out.Echo UBound(f), IsEmpty(f(0))\n"
     "ReDim d(3) : Erase d\nOn Error Resume Next\nx = UBound(d)\nOut.Echo Err.Number",
     "1 True\n9"},
    {"ConstantsAndOptionExplicit",
     "Option Explicit\nConst Limit = 3, Name = \"n\"\nDim i, s\nFor i = 1 To Limit : s = s & Name "
     ": Next\nOut.Echo s",
     "nnn"},
    {"SingleLineIfElse",
     "x = 2 : If x = 1 Then Out.Echo \"one\" Else If x = 2 Then Out.Echo \"two\"", "two"},
    {"ElseIfChain",
     "For Each v In Array(1, 2, 3)\nIf v = 1 Then\nOut.Echo \"a\"\nElseIf v = 2 Then\n"
     "Out.Echo \"b\"\nElse\nOut.Echo \"c\"\nEnd If\nNext",
     "a\nb\nc"},
    {"RecursionAndByRefTemporaries",
     "Function Fact(n)\nIf n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\nEnd Function\n"
     "Out.Echo Fact(10)",
     "3628800"},
    {"NestedWithAndMemberChains",
     "Class Node\nPublic Child, Value\nEnd Class\nSet a = New Node : Set a.Child = New Node\n"
     "a.Child.Value = 7\nWith a\nWith .Child\nOut.Echo .Value\nEnd With\nEnd With",
     "7"},
    {"ForEachOverObjectArrays",
     "Class P\nPublic N\nEnd Class\nSet x = New P : x.N = 1 : Set y = New P : y.N = 2\n"
     "For Each o In Array(x, y) : t = t + o.N : Next : Out.Echo t",
     "3"},
    {"PropertyWithArgumentsAndDefaultCall",
     "Class Table\nPrivate cells(3)\nPublic Default Property Get Cell(i)\nCell = cells(i)\n"
     "End Property\nPublic Property Let Cell(i, v)\ncells(i) = v * 2\nEnd Property\nEnd Class\n"
     "Set t = New Table : t(1) = 5 : t.Cell(2) = 1 : Out.Echo t(1), t.Cell(2), IsEmpty(t(0))",
     "10 2 True"},
    {"ExecuteAssignsTheProceduresImplicitLocal",
     "Function F()\nExecute \"y = 5\"\nF = y\nEnd Function\nOut.Echo F(), IsEmpty(y)", "5 True"},
    {"ExecuteDimOfAProcedureLocalStaysLocal",
     "Function F()\nExecute \"Dim y : y = 5\"\nF = y\nEnd Function\nOut.Echo F(), IsEmpty(y)",
     "5 True"},
    {"ExecuteAndEvalSeeTheCallersScope",
     "Class K\nPrivate secret\nPublic Sub Run\nsecret = 41\nExecute \"secret = secret + 1\"\n"
     "Out.Echo Eval(\"secret\")\nEnd Sub\nEnd Class\n"
     "Function Twice(n)\nTwice = Eval(\"n * 2\")\nEnd Function\n"
     "Set k = New K : k.Run : Out.Echo Twice(21)",
     "42\n42"},
    {"TerminateRunsWhenLocalGoesOutOfScope",
     "Class T\nPublic Name\nSub Class_Terminate\nOut.Echo \"bye \" & Name\nEnd Sub\nEnd Class\n"
     "Sub Work\nDim t : Set t = New T : t.Name = \"w\"\nOut.Echo \"working\"\nEnd Sub\n"
     "Work : Out.Echo \"done\"",
     "working\nbye w\ndone"},
    {"ErrorsInsideClassMethodsReachTheCaller",
     "Class C\nPublic Function Bad\nBad = CInt(\"x\")\nEnd Function\nEnd Class\n"
     "On Error Resume Next\nSet c = New C\nv = c.Bad\nOut.Echo Err.Number, IsEmpty(v)",
     "13 True"},
    {"GlobalsDeclaredLaterAreSeenByEarlierProcedures",
     "Sub Show\nOut.Echo later\nEnd Sub\nDim later\nlater = \"set\"\nShow", "set"},
    {"ByRefThroughSeveralLevels",
     "Sub Inner(x)\nx = x * 10\nEnd Sub\nSub Outer(y)\nInner y\nEnd Sub\n"
     "n = 2 : Outer n : Out.Echo n",
     "20"},
    {"ByRefToExpressionLeavesVariable",
     "Sub Inc(a)\na = a + 1\nEnd Sub\nn = 1 : Inc n + 0 : Inc (n) : Out.Echo n", "1"},
    {"ExitPropertyAndExitSub",
     "Class P\nPublic Property Get V\nV = 1\nExit Property\nV = 2\nEnd Property\nEnd Class\n"
     "Sub S\nOut.Echo \"a\"\nExit Sub\nOut.Echo \"b\"\nEnd Sub\n"
     "Set p = New P : Out.Echo p.V : S",
     "1\na"},
    {"DoLoopUntilRunsOnce", "Do\nn = n + 1\nLoop Until True\nOut.Echo n", "1"},
    {"ExitDoFromNestedFor", "Do\nFor i = 1 To 5\nIf i = 2 Then Exit Do\nNext\nLoop\nOut.Echo i",
     "2"},
    {"ExitDoLeavesWhileAndItsDo",
     "Do\nWhile True\nn = n + 1\nIf n = 3 Then Exit Do\nWend\nOut.Echo \"not here\"\nLoop\n"
     "Out.Echo n",
     "3"},
    {"ExitDoThroughWhileInsideForInsideDo",
     "Do\nFor i = 1 To 3\nWhile True\nExit Do\nWend\nNext\nLoop\nOut.Echo i", "1"},
    {"ExitForLeavesWhileAndItsFor",
     "For i = 1 To 5\nWhile True\nIf i = 4 Then Exit For\nc = c + 1\nExit For\nWend\nNext\n"
     "Out.Echo i, c",
     "1 1"},
    {"ExitForLeavesNestedDoAndItsFor",
     "For i = 1 To 5\nDo\nIf i = 2 Then Exit For\nExit Do\nLoop\nc = c + 1\nNext\nOut.Echo i, c",
     "2 1"},
    {"ExitDoInWhileInsideProcedure",
     "Function F()\nDo\nWhile True\nF = F + 1\nExit Do\nWend\nLoop\nF = F * 10\nEnd Function\n"
     "Out.Echo F()",
     "10"},
    {"ObjectsInsideObjects",
     "Class Leaf\nPublic V\nEnd Class\nClass Tree\nPublic Left\n"
     "Sub Class_Initialize\nSet Left = New Leaf\nLeft.V = 3\nEnd Sub\nEnd Class\n"
     "Set t = New Tree : Out.Echo t.Left.V, TypeName(t.Left)",
     "3 Leaf"},
    {"SelectCaseOnText",
     "s = \"b\"\nSelect Case s\nCase \"a\"\nOut.Echo 1\nCase \"b\", \"c\"\nOut.Echo 2\n"
     "End Select\nSelect Case Null\nCase Null\nOut.Echo \"null\"\nCase Else\nOut.Echo \"else\"\n"
     "End Select",
     "2\nelse"},
    {"UnicodeTextCounts",
     "s = \"日本語\" : t = s & \"テキスト\" : Out.Echo t, s < t, s = \"日本語\"",
     "日本語テキスト True True"},
    {"ResumeNextContinuesAfterDeepRecursion",
     "Function R(n)\nR = R(n + 1)\nEnd Function\nOn Error Resume Next\nx = R(1)\n"
     "Out.Echo Err.Number",
     "28"},
    {"ForEachLoopVariableAfterLoop",
     "For Each v In Array(1, 2, 3) : s = s + v : Next : Out.Echo s, v", "6 3"},
    {"ForCounterChangedInBody", "For i = 1 To 10\nc = c + 1\ni = i + 1\nNext\nOut.Echo c, i",
     "5 11"},
    {"NestedClassDefaultChain",
     "Class Inner\nPublic Default Function Get_(i)\nGet_ = i * 3\nEnd Function\nEnd Class\n"
     "Set o = New Inner : Out.Echo o(2) + o(1)",
     "9"},
    {"RandomizeRepeatsSequence",
     "Rnd -1 : Randomize 5 : a = Rnd : Rnd -1 : Randomize 5 : b = Rnd : Out.Echo a = b, a < 1",
     "True True"},
    // The generator is the language's: a fresh engine's first Rnd and Rnd(-1) give its
    // well-known numbers.
    {"RndFirstValueOfFreshEngine", "Out.Echo Rnd, TypeName(Rnd)", "0.7055475 Single"},
    {"RndNegativeSeedsTheSameSequence",
     "a = Rnd(-1) : b = Rnd : c = Rnd(-1) : d = Rnd : Out.Echo a, a = c, b = d, a = b",
     "0.224007 True True False"},
    {"RndZeroRepeatsTheLastNumber", "a = Rnd : Out.Echo Rnd(0) = a, Rnd(0) = a, Rnd = a",
     "True True False"},
    {"RndPositiveIsTheNextNumber", "Rnd -3 : a = Rnd(7) : Rnd -3 : b = Rnd : Out.Echo a = b",
     "True"},
    {"RandomizeNumberPicksTheSequence",
     "Rnd -1 : Randomize 10 : a = Rnd : Rnd -1 : Randomize 11 : b = Rnd : Out.Echo a = b", "False"},
    {"RandomizeWithoutNumberLeavesTheFixedSequence",
     "Randomize : a = Rnd : Randomize : b = Rnd : Out.Echo CStr(a) = \"0.7055475\", b = a",
     "False False"},
    {"RndStaysWithinZeroAndOne",
     "lo = 1 : hi = 0 : For i = 1 To 20000 : r = Rnd : If r < lo Then lo = r\n"
     "If r > hi Then hi = r\nNext : Out.Echo lo >= 0, hi < 1, lo < 0.001, hi > 0.999",
     "True True True True"},
    // Operands are read where they are stored; the left one before the right side runs, and
    // an object's default member may replace the variable that holds it.
    {"OperandsReadInOrder",
     "Function Bump(v)\nv = v + 10 : Bump = 1\nEnd Function\n"
     "Sub Both(p)\na = p + Bump(p) : b = p : c = Bump(p) + p : d = p < Bump(p)\n"
     "Out.Echo a, b, c, d, p\nEnd Sub\n"
     "n = 1 : a = n + Bump(n) : b = n : c = Bump(n) + n : Out.Echo a, b, c\nm = 1 : Both m",
     "2 11 22\n2 11 22 False 31"},
    {"DefaultMemberReplacesItsOwnVariable",
     "Class C\nPublic Default Property Get V\nSet o = Nothing : V = 5\nEnd Property\nEnd Class\n"
     "Sub Use(p)\nSet o = New C : Out.Echo p + 1, TypeName(o)\nSet o = New C\n"
     "If p > 4 Then Out.Echo \"more\", TypeName(p)\nEnd Sub\n"
     "Set o = New C : Out.Echo o * 2, TypeName(o)\nUse o",
     "10 Nothing\n6 Nothing\nmore Nothing"},
    {"RndNullArgumentIsInvalid", "On Error Resume Next : x = Rnd(Null) : Out.Echo Err.Number",
     "94"},
};

INSTANTIATE_TEST_SUITE_P(Programs, ProgramTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vbstest
