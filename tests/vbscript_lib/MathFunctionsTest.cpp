#include "LibraryHarness.h"

#include <cmath>

using namespace vbscript;
using namespace vbscript::testing;

TEST(MathFunctions, AbsFixIntKeepTheSubtype) {
    runRows({
        {u"Abs", {I(-5)}, I(5)},
        {u"Abs", {I(-32768)}, L(32768)},
        {u"Abs", {D(-2.5)}, D(2.5)},
        {u"Abs", {S(u"-3")}, D(3)},
        {u"Abs", {Value::null()}, Value::null()},
        {u"Abs", {Value()}, I(0)},
        {u"Abs", {Value::currency(-15000)}, Value::currency(15000)},
        {u"Fix", {D(-2.7)}, D(-2)},
        {u"Int", {D(-2.7)}, D(-3)},
        {u"Int", {D(2.7)}, D(2)},
        {u"Fix", {I(-3)}, I(-3)},
        {u"Int", {Value::single(-0.5f)}, Value::single(-1.0f)},
        {u"Int", {Value::null()}, Value::null()},
        fails(u"Abs", {S(u"x")}, 13),
    });
}

TEST(MathFunctions, RoundTakesHalvesToEven) {
    runRows({
        {u"Round", {D(2.5)}, D(2)},
        {u"Round", {D(3.5)}, D(4)},
        {u"Round", {D(-2.5)}, D(-2)},
        {u"Round", {D(0.5)}, D(0)},
        {u"Round", {D(2.675), I(2)}, D(2.67)},
        {u"Round", {D(0.125), I(2)}, D(0.12)},
        {u"Round", {D(1234.5678), I(1)}, D(1234.6)},
        {u"Round", {I(7)}, I(7)},
        {u"Round", {B(true)}, I(-1)}, // a Boolean rounds to its Integer value
        {u"Round", {B(true), I(2)}, I(-1)},
        {u"Round", {B(false), I(1)}, I(0)},
        {u"Round", {Value::single(2.5f)}, Value::single(2.0f)},
        {u"Round", {S(u"2.5")}, D(2)},
        {u"Round", {Value::null()}, Value::null()},
        fails(u"Round", {D(1.5), I(-1)}, 5),
    });
}

TEST(MathFunctions, TranscendentalFunctionsAndTheirDomains) {
    runRows({
        {u"Sgn", {I(-3)}, I(-1)},
        {u"Sgn", {D(0)}, I(0)},
        {u"Sgn", {D(2.5)}, I(1)},
        {u"Sqr", {I(16)}, D(4)},
        fails(u"Sqr", {I(-1)}, 5),
        {u"Log", {I(1)}, D(0)},
        fails(u"Log", {I(0)}, 5),
        fails(u"Log", {I(-1)}, 5),
        {u"Exp", {I(0)}, D(1)},
        fails(u"Exp", {I(1000)}, 6),
        {u"Cos", {I(0)}, D(1)},
        {u"Sin", {I(0)}, D(0)},
        {u"Tan", {I(0)}, D(0)},
        {u"Atn", {I(0)}, D(0)},
    });
    EXPECT_DOUBLE_EQ(toDouble(callWith(u"Atn", {I(1)})) * 4, M_PI);
}

TEST(MathFunctions, HexAndOct) {
    runRows({
        {u"Hex", {I(255)}, S(u"FF")},
        {u"Hex", {I(-1)}, S(u"FFFF")},
        {u"Hex", {L(-1)}, S(u"FFFFFFFF")},
        {u"Hex", {D(255.5)}, S(u"100")},
        {u"Hex", {Value()}, S(u"0")},
        {u"Hex", {Value::null()}, Value::null()},
        {u"Oct", {I(8)}, S(u"10")},
        {u"Oct", {I(-1)}, S(u"177777")},
        fails(u"Hex", {D(1e10)}, 6),
    });
}

TEST(EngineInfoFunctions, RgbAndIdentification) {
    runRows({
        {u"RGB", {I(255), I(0), I(0)}, L(255)},
        {u"RGB", {I(1), I(2), I(3)}, L(0x030201)},
        {u"RGB", {I(300), I(255), I(255)}, L(0xFFFFFF)},
        fails(u"RGB", {I(-1), I(0), I(0)}, 5),
        {u"ScriptEngine", {}, S(u"VBScript")},
        {u"ScriptEngineMajorVersion", {}, L(5)},
        {u"ScriptEngineMinorVersion", {}, L(8)},
        fails(u"GetObject", {S(u"winmgmts:")}, 429),
    });
}
