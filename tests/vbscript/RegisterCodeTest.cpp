// Compiled register code against the tree it comes from: each script runs both ways and must
// give the same output and the same error, which must also be the language's. The scripts aim
// at the shortcuts the code takes (operands read in place, results stored straight into
// variables, calls between compiled procedures, array elements, loops and their exits) and at
// the moments the language's rules must still win.
#include "vbscript/RegisterCode.h"
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

struct Row {
    const char* name;
    const char* source;
    const char* output; // Out.Echo lines joined by '|'
    int error = 0;
    int line = 0;
};

std::string joined(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = '|';
    return text;
}

ScriptRun runWay(const char* source, bool compiled) {
    setRegisterCodeEnabled(compiled);
    ScriptRun r = runScript(source);
    setRegisterCodeEnabled(true);
    return r;
}

void expectBothWays(std::span<const Row> rows) {
    for (const Row& row : rows) {
        const ScriptRun tree = runWay(row.source, false);
        const ScriptRun code = runWay(row.source, true);
        EXPECT_EQ(joined(code.output), joined(tree.output)) << row.name;
        EXPECT_EQ(code.error, tree.error) << row.name;
        EXPECT_EQ(code.line, tree.line) << row.name;
        EXPECT_EQ(code.column, tree.column) << row.name;
        EXPECT_EQ(joined(tree.output), row.output) << row.name;
        EXPECT_EQ(tree.error, row.error) << row.name;
        if (row.line) {
            EXPECT_EQ(tree.line, row.line) << row.name;
        }
    }
}

TEST(RegisterCode, OperandsAndResultsFollowTheLanguage) {
    const Row rows[] = {
        {"left operand read before a call changes it",
         "Function Bump() : x = 100 : Bump = 1 : End Function\n"
         "x = 1 : y = x + Bump() : Out.Echo y, x\n",
         "2 100"},
        {"whole numbers widen, Mod by zero fails",
         "a = 32767 : b = a + 1 : c = CLng(65536) * 65536 : d = -32768 Mod -1\n"
         "Out.Echo TypeName(b), b, TypeName(c), c, TypeName(d), d\n"
         "e = 7 Mod 0\n",
         "Long 32768 Double 4294967296 Long 0", 11, 3},
        {"whole constants on the right: the operand's type and the result's range decide",
         "x = 32767 : y = CInt(-32768) : z = 2147483647 : w = 1.5 : t = \"7\" : e = Empty\n"
         "b = True : q = CLng(-2147483647) - 1\n"
         "r1 = x + 1 : r2 = y - 1 : r3 = y * -1 : r4 = z + 1 : r5 = x Mod 7 : r6 = x Mod 40000\n"
         "r7 = y Mod 3 : r8 = w * 3 : r9 = t * 3 : r10 = e + 1 : r11 = b + 1 : r12 = q Mod 7\n"
         "r13 = x * 2 : r14 = q - 1 : r15 = z Mod -1 : r16 = x Mod 1\n"
         "Out.Echo TypeName(r1), r1, TypeName(r2), r2, TypeName(r3), r3, TypeName(r4), r4\n"
         "Out.Echo TypeName(r5), r5, TypeName(r6), r6, TypeName(r7), r7, r8, TypeName(r9), r9\n"
         "Out.Echo TypeName(r10), r10, TypeName(r11), r11, TypeName(r12), r12, TypeName(r13), r13\n"
         "Out.Echo TypeName(r14), r14, TypeName(r15), r15, TypeName(r16), r16\n",
         "Long 32768 Long -32769 Long 32768 Double 2147483648|"
         "Integer 0 Long 32767 Integer -2 4.5 Double 21|"
         "Integer 1 Integer 0 Long -2 Long 65534|"
         "Double -2147483649 Long 0 Integer 0"},
        {"comparisons with a whole constant take any left side",
         "a = Array(1, 40000, 1.5, \"7\", Empty, Null, True, CLng(-5), \"日本\")\n"
         "For i = 0 To 8\n  v = a(i) : r = \"\"\n  If v < 2 Then r = r & \"<\"\n"
         "  If v = 40000 Then r = r & \"=\"\n  If v >= -5 Then r = r & \">\"\n"
         "  If v <> 1 Then r = r & \"!\"\n  Out.Echo i, r\nNext\n",
         "0 <>|1 =>!|2 <>!|3 >!|4 <>!|5 |6 <>!|7 <>!|8 >!"},
        {"a result replaces a Boolean, text or Null in the target",
         "x = 5 : v = True : v = x + 1 : w = \"日本\" : w = x * 2 : u = Null : u = x Mod 3\n"
         "Out.Echo TypeName(v), v, TypeName(w), w, TypeName(u), u\n",
         "Integer 6 Integer 10 Integer 2"},
        {"a global that becomes a function is called",
         "v = 5\n"
         "For i = 1 To 2\n"
         "  If i = 2 Then ExecuteGlobal \"Function v() : v = 40 : End Function\"\n"
         "  Out.Echo v + 1\n"
         "Next\n",
         "6|41"},
        {"default members and text in operators",
         "Class C : Public n : Public Default Property Get Value : Value = n : End Property\n"
         "End Class\n"
         "Set o = New C : o.n = 3\n"
         "Out.Echo o + 1, o * 2 > 5, \"4\" + 1, \"a\" & 1 + 2, Empty + 1, IsNull(Null + 1)\n",
         "4 True 5 a3 1 True"},
        {"an object operand ends before the result is stored",
         "Class T : Sub Class_Terminate : Out.Echo \"end, y is \" & y : End Sub\n"
         "Public Default Property Get Value : Value = 1 : End Property : End Class\n"
         "Function Make() : Set Make = New T : End Function\n"
         "y = 0 : y = Make() + 1 : Out.Echo y\n",
         "end, y is 0|2"},
        {"appends keep the old value first",
         "Function T() : s = \"X\" : T = \"t\" : End Function\n"
         "s = \"a\" : s = s & T() : n = 1 : n = n & 2 : u = \"日本\" : u = u & Null\n"
         "For i = 1 To 3 : u = u & i : Next\nOut.Echo s, n, TypeName(n), u\n",
         "at 12 String 日本123"},
        {"a constant cannot be assigned", "Const K = 1\nK = K + 1\n", "", 501, 2},
        {"errors are placed at the statement inside a compiled procedure",
         "Function F(n)\n  F = n * 2\n  F = 1 / (n - n)\nEnd Function\nx = F(3)\n", "", 11, 3},
    };
    expectBothWays(rows);
}

TEST(RegisterCode, DeepNestingStaysWithTheTree) {
    std::string parens = "x = 1\ny = ";
    for (int i = 0; i < 500; ++i)
        parens += "(x + ";
    parens += "0";
    for (int i = 0; i < 500; ++i)
        parens += ")";
    parens += "\nOut.Echo y\n";
    std::string blocks;
    for (int i = 0; i < 100; ++i)
        blocks += "If True Then\n";
    blocks += "Out.Echo \"deep\"\n";
    for (int i = 0; i < 100; ++i)
        blocks += "End If\n";
    const Row rows[] = {
        {"500 nested parentheses", parens.c_str(), "500"},
        {"100 nested blocks", blocks.c_str(), "deep"},
    };
    expectBothWays(rows);
}

TEST(RegisterCode, CallsPassArgumentsAsTheLanguageDoes) {
    const Row rows[] = {
        {"ByRef reaches a variable, an expression is a copy",
         "Function Twice(a) : a = a * 2 : Twice = a : End Function\n"
         "x = 3 : y = Twice(x) : z = Twice(x + 0) : Out.Echo x, y, z\n",
         "6 6 12"},
        {"ByVal parameters and recursion",
         "Function Fib(ByVal n)\n"
         "  If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)\n"
         "End Function\n"
         "Out.Echo Fib(20), TypeName(Fib(20))\n",
         "6765 Integer"},
        {"a wrong argument count still raises 450",
         "Function One(a) : One = a : End Function\n"
         "ExecuteGlobal \"Function One(a, b) : One = a + b : End Function\"\n"
         "Function Use(n) : Use = One(n + 1) : End Function\n"
         "x = Use(1)\n",
         "", 450, 3},
        {"a procedure with On Error inside a compiled caller",
         "Function Safe(n) : On Error Resume Next : Safe = 1 / n : If Err Then Safe = -1\n"
         "End Function\n"
         "For i = 0 To 1 : Out.Echo Safe(i + 0) : Next\n",
         "-1|1"},
        {"results of every kind and callees of every size",
         "Class C : Public n : Public Default Property Get V : V = n : End Property : End Class\n"
         "Function Txt(s) : Txt = s + \"!\" : End Function\n"
         "Function Obj(k) : Set Obj = New C : Obj.n = k : End Function\n"
         "Function Big(a, b, c, d) : Big = a + b + c + d : End Function\n"
         "Function Many(a) : Dim p, q, r, s, t, u, v, w : Many = a + 1 : End Function\n"
         "Function Nil(a) : End Function\n"
         "Function Run()\n  Dim s, x : s = \"日本\"\n  x = Txt(s + \"語\") + Txt(s + \"\")\n"
         "  Run = x & \" \" & Big(1 + 0, 2 + 0, 3 + 0, 4 + 0) & \" \" & Many(1 + 0) & \" \" & "
         "IsEmpty(Nil(1 + 0)) & \" \" & (Obj(7 + 0) + 1)\nEnd Function\n"
         "Out.Echo Run()\n",
         "日本語!日本! 10 2 True 8"},
        {"recursion without end runs out of stack",
         "Function R(n) : R = R(n + 1) : End Function\nx = R(0)\n", "", 28},
    };
    expectBothWays(rows);
}

TEST(RegisterCode, LoopsExitAndCountAsTheLanguageDoes) {
    const Row rows[] = {
        {"Exit For from inside Select Case",
         "For i = 1 To 5\n  Select Case i\n    Case 3: Exit For\n  End Select\n  Out.Echo i\n"
         "Next\nOut.Echo \"end \" & i\n",
         "1|2|end 3"},
        {"Exit Do passes through While...Wend",
         "n = 0\nDo\n  While True\n    n = n + 1\n    If n = 3 Then Exit Do\n  Wend\nLoop\n"
         "Out.Echo n\n",
         "3"},
        {"a counter changed in the body, fractional and negative steps",
         "s = \"\"\nFor i = 1 To 10 : s = s & i & \",\" : i = i + 3 : Next\n"
         "For d = 0 To 1 Step 0.5 : s = s & d & \";\" : Next\n"
         "For k = 3 To 1 Step -1 : s = s & k : Next\nOut.Echo s, i, d, k\n",
         "1,5,9,0;0.5;1;321 13 1.5 0"},
        {"counters keep the language's types past the ends of Integer and Long",
         "For i = 32766 To 32768 : s = s & TypeName(i) & \" \" : Next\n"
         "For j = 2147483646 To 2147483647 : Next\n"
         "For k = 1 To 3 Step 40000 : s = s & TypeName(k) & \" \" : Next\n"
         "For m = 1 To 2.5 : s = s & m : Next\n"
         "For n = 1 To 3 : If n = 2 Then n = \"2\"\n s = s & TypeName(n) & \" \" : Next\n"
         "Sub Count(c)\n For c = 1 To 3 : s = s & c : Next\nEnd Sub\n"
         "p = 0 : Count p : Out.Echo s, TypeName(i), i, TypeName(j), j, TypeName(k), m, p\n",
         "Integer Integer Long Integer 12Integer String Double 123 Long 32769 Double 2147483648 "
         "Long 3 4"},
        {"Exit Function from inside loops",
         "Function First(n)\n  For i = 1 To 100\n    Do While True\n"
         "      If i * i > n Then First = i : Exit Function\n      Exit Do\n    Loop\n  Next\n"
         "End Function\nOut.Echo First(50)\n",
         "8"},
        {"Until and tests after the body",
         "n = 0 : Do Until n >= 3 : n = n + 1 : Loop\n"
         "m = 10 : Do : m = m + 1 : Loop While m < 5\nOut.Echo n, m\n",
         "3 11"},
    };
    expectBothWays(rows);
}

TEST(RegisterCode, ArrayElementsFollowTheLanguage) {
    const Row rows[] = {
        {"bubble sort through elements and index sums",
         "Dim a(5)\nFor i = 0 To 5 : a(i) = (i * 7) Mod 6 : Next\n"
         "For i = 0 To 4 : For j = 0 To 4 - i\n"
         "  If a(j) > a(j + 1) Then t = a(j) : a(j) = a(j + 1) : a(j + 1) = t\n"
         "Next : Next\nOut.Echo Join(a, \",\")\n",
         "0,1,2,3,4,5"},
        {"copies of an array stay apart",
         "Dim a(2)\na(0) = 1\nb = a\nb(0) = 2\nOut.Echo a(0), b(0)\n", "1 2"},
        {"a Double index rounds to even, text converts",
         "Dim a(3)\na(2) = \"two\"\nOut.Echo a(2.5), a(\"2\"), a(1.5)\n", "two two two"},
        {"out of range", "Dim a(2)\nx = 1\nOut.Echo a(x + 1)\ny = a(x + 2)\n", "", 9, 4},
        {"an element of no array", "x = 5\ni = 0\ny = x(i)\n", "", 13, 3},
        {"an index beyond a Long", "Dim a(2)\nx = CLng(2147483647)\ny = a(x + 1)\n", "", 6, 3},
        {"constant parts of an index",
         "Dim a(3)\nFor k = 0 To 3 : a(k) = k * 10 : Next\nj = 2\n"
         "Out.Echo a(j - 1), a(j + 1), a(1 + j), a(j - -1), a(j + 0.5)\n"
         "y = a(j - &H80000000)\n",
         "10 30 30 30 20", 6, 5},
        {"an element passed ByRef locks the array",
         "Dim a()\nReDim a(2)\nSub S(v) : ReDim a(5) : End Sub\nS a(1)\n", "", 10, 3},
    };
    expectBothWays(rows);
}

// x op (right side) reads x after a right side made of shortcuts; whenever a shortcut does not
// apply, the careful version reads x first and the language's order wins.
TEST(RegisterCode, ASpeculatedRightSideKeepsTheLanguagesOrder) {
    const Row rows[] = {
        {"whole numbers through the shortcuts",
         "s = 0\nFor i = 1 To 10 : s = s + (i Mod 7) * 3 : Next\nOut.Echo s, TypeName(s)\n",
         "81 Integer"},
        {"a default member in the right side changes the left",
         "Class C : Public Default Property Get V : x = 100 : V = 2 : End Property : End Class\n"
         "Set o = New C : x = 1 : y = x + o * 3 : Out.Echo y, x\n",
         "7 100"},
        {"a global turned function in the right side runs after the left is read",
         "s = 1 : v = 5\n"
         "ExecuteGlobal \"Function v() : s = 1000 : v = 1 : End Function\"\n"
         "s = s + v * 2 : Out.Echo s\n",
         "3"},
        {"text, Null and Empty on the left",
         "i = 4 : x = \"5\" : n = Null\n"
         "Out.Echo x + (i * 2), IsNull(n + (i Mod 3)), e + (i - 1), x & (i + 1)\n",
         "13 True 3 55"},
        {"widening inside the right side",
         "i = 32767 : s = CLng(1) : s = s + (i + 1) * 2 : t = 1 : t = t - (i * i) * 4\n"
         "Out.Echo TypeName(s), s, TypeName(t), t\n",
         "Long 65537 Double -4294705155"},
        {"an element out of range in the right side",
         "Dim a(2)\ns = 1 : j = 1\ns = s + a(j + 1) * 2\nOut.Echo s\ns = s + a(j + 5) * 2\n", "1",
         9, 5},
        {"Mod by zero in the right side", "s = 1 : z = 0\ns = s + (5 Mod z)\n", "", 11, 2},
        {"an array element on the left of a speculated sum",
         "Dim a(3)\nFor k = 0 To 3 : a(k) = k * 1.5 : Next\nj = 1\n"
         "y = a(j) + a(j + 1) * (j + 2)\nOut.Echo y\n",
         "10.5"},
    };
    expectBothWays(rows);
}

} // namespace
} // namespace vbstest
