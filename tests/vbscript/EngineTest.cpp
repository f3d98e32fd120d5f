// The host's view of the engine: language, state between calls, objects, limits.
#include "ScriptHarness.h"

#include "vbscript/StackGuard.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>

namespace vbstest {
namespace {

class GreeterObject final : public HostObject<GreeterObject> {
public:
    std::u16string typeName() const override { return u"Greeter"; }
    std::span<const Member> members() const override {
        static const Member table[] = {
            {u"Hello", 0, 1, &GreeterObject::hello, nullptr},
            {u"Count", 0, 0, &GreeterObject::count, &GreeterObject::setCount, true},
            {u"Bump", 1, 1, &GreeterObject::bump, nullptr},
        };
        return table;
    }
    Value hello(Context&, Args args) {
        return Value::string(u"hello " +
                             (args.isMissing(0) ? std::u16string(u"you") : toString(args[0])));
    }
    Value count(Context&, Args) { return Value::longValue(m_count); }
    void setCount(Context&, Args, const Value& v) { m_count = toLong(v); }
    // Writes back through a by-reference argument.
    Value bump(Context&, Args args) {
        args.ref(0) = Value::longValue(toLong(args[0]) + 1);
        return Value();
    }

private:
    int32_t m_count = 0;
};

Engine& vbs(Engine& e) {
    e.setLanguage(u"VBScript");
    return e;
}

TEST(EngineTest, OnlyVBScriptIsAccepted) {
    Engine e;
    EXPECT_FALSE(e.setLanguage(u"JScript"));
    EXPECT_EQ(e.lastError().number, 380);
    EXPECT_EQ(e.language(), u"");
    EXPECT_TRUE(e.setLanguage(u"vbscript"));
    EXPECT_EQ(e.lastError().number, 0);
    EXPECT_EQ(e.language(), u"VBScript");
}

TEST(EngineTest, StateLastsBetweenCallsUntilReset) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addCode(u"Function Add(a, b)\nAdd = a + b\nEnd Function"));
    ASSERT_TRUE(e.executeStatement(u"x = 5"));
    EXPECT_EQ(evalText(e, "x * 2"), "10:Integer");
    EXPECT_EQ(evalText(e, "Add(x, 1)"), "6:Integer");
    EXPECT_TRUE(e.hasProcedure(u"ADD"));
    const Value args[] = {Value::integer(2), Value::string(u"3")};
    const auto sum = e.call(u"Add", args);
    ASSERT_TRUE(sum.has_value());
    EXPECT_EQ(toString(*sum), u"5");
    e.reset();
    EXPECT_FALSE(e.hasProcedure(u"Add"));
    EXPECT_EQ(evalText(e, "x"), ":Empty");
    EXPECT_EQ(evalText(e, "Add(1, 2)"), "error 35");
}

struct LocaleDateRow {
    const char* expression;
    const char* japan;
    const char* unitedStates;
};

// The engine's own conversions of dates (CStr, CDate, IsDate, "&") follow SetLocale.
TEST(EngineTest, DateConversionsFollowTheLocale) {
    const LocaleDateRow rows[] = {
        {"CStr(DateSerial(2026, 12, 7))", "2026/12/07:String", "12/7/2026:String"},
        {"CStr(TimeSerial(21, 5, 3))", "21:05:03:String", "9:05:03 PM:String"},
        {"DateSerial(2026, 12, 7) + TimeSerial(9, 5, 3) & \"\"", "2026/12/07 9:05:03:String",
         "12/7/2026 9:05:03 AM:String"},
        {"CDate(\"2026/12/07\") = DateSerial(2026, 12, 7)", "True:Boolean", "True:Boolean"},
        {"CDate(\"12/7/2026\") = DateSerial(2026, 12, 7)", "True:Boolean", "True:Boolean"},
        {"Hour(CDate(\"12/7/2026 9:05 PM\")) & Minute(CDate(\"12/7/2026 9:05 PM\"))", "215:String",
         "215:String"},
        {"IsDate(\"2026年12月7日\")", "True:Boolean", "True:Boolean"},
        {"IsDate(\"December 7, 2026\")", "False:Boolean", "True:Boolean"},
        {"IsDate(\"13/13/2026\")", "False:Boolean", "False:Boolean"},
        {"CDate(\"7 Dec 2026\") = DateSerial(2026, 12, 7)", "error 13", "True:Boolean"},
        {"CStr(CDate(CStr(DateSerial(1999, 1, 2) + TimeSerial(23, 59, 59))))",
         "1999/01/02 23:59:59:String", "1/2/1999 11:59:59 PM:String"},
    };
    Engine e;
    vbs(e);
    for (const auto& row : rows)
        EXPECT_EQ(evalText(e, row.expression), row.japan) << row.expression;
    ASSERT_TRUE(e.executeStatement(u"SetLocale 1033"));
    for (const auto& row : rows)
        EXPECT_EQ(evalText(e, row.expression), row.unitedStates) << row.expression;
}

// A reload must not keep the old script's SetLocale nor its place in the Rnd sequence.
TEST(EngineTest, ResetReturnsToJapanAndTheFirstRandomNumber) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.executeStatement(u"SetLocale \"en-us\" : x = Rnd : x = Rnd"));
    EXPECT_EQ(evalText(e, "GetLocale()"), "1033:Long");
    e.reset();
    vbs(e);
    EXPECT_EQ(evalText(e, "GetLocale()"), "1041:Long");
    EXPECT_EQ(evalText(e, "CStr(DateSerial(2026, 1, 2))"), "2026/01/02:String");
    EXPECT_EQ(evalText(e, "Rnd"), "0.7055475:Single");
}

TEST(EngineTest, ErrorsAreReportedAndClearedBySuccess) {
    Engine e;
    vbs(e);
    EXPECT_FALSE(e.eval(u"1 +").has_value());
    EXPECT_EQ(e.lastError().number, 1023);
    EXPECT_EQ(toUtf8(e.lastError().source), "Microsoft VBScript compilation error");
    EXPECT_TRUE(e.eval(u"1").has_value());
    EXPECT_EQ(e.lastError().number, 0);
    EXPECT_FALSE(e.addCode(u"x = 1\ny = (2"));
    EXPECT_EQ(e.lastError().number, 1006);
    EXPECT_EQ(e.lastError().line, 2);
    EXPECT_FALSE(e.call(u"Nope").has_value());
    EXPECT_EQ(e.lastError().number, 35);
}

TEST(EngineTest, RedefiningAConstantLeavesEarlierCodeIntact) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addCode(u"Const K = 1"));
    EXPECT_FALSE(e.addCode(u"Sub Fine\nEnd Sub\nSub K\nEnd Sub"));
    EXPECT_EQ(e.lastError().number, 1041);
    EXPECT_FALSE(e.hasProcedure(u"Fine"));
    EXPECT_FALSE(e.addCode(u"Const Z = 1\nSub Z\nEnd Sub"));
    EXPECT_EQ(evalText(e, "K"), "1:Integer");
}

TEST(EngineTest, SyntaxErrorRunsNothing) {
    Engine e;
    vbs(e);
    EXPECT_FALSE(e.addCode(u"x = 1\nIf Then"));
    EXPECT_EQ(evalText(e, "x"), ":Empty");
}

TEST(EngineTest, NamedObjectsAreReachedThroughTheirName) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addObject(u"Greeter", makeRef<GreeterObject>()));
    EXPECT_EQ(evalText(e, "Greeter.Hello(\"Bob\")"), "hello Bob:String");
    EXPECT_EQ(evalText(e, "Greeter.Hello"), "hello you:String");
    ASSERT_TRUE(e.executeStatement(u"Greeter.Count = 4"));
    EXPECT_EQ(evalText(e, "Greeter + 1"), "5:Long");
    ASSERT_TRUE(e.executeStatement(u"n = 1 : Greeter.Bump n"));
    EXPECT_EQ(evalText(e, "n"), "2:Long");
    EXPECT_EQ(evalText(e, "Greeter.Nope"), "error 438");
    EXPECT_EQ(evalText(e, "Hello"), ":Empty"); // members are not global
    EXPECT_EQ(evalText(e, "Greeter.Hello(1, 2)"), "error 450");
}

TEST(EngineTest, GlobalMembersAreReachedAsBareNames) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addObject(u"G", makeRef<GreeterObject>(), true));
    EXPECT_EQ(evalText(e, "Hello(\"x\")"), "hello x:String");
    EXPECT_EQ(evalText(e, "Hello"), "hello you:String");
}

TEST(EngineTest, DeepRecursionEndsInOutOfStack) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addCode(u"Function R(n)\nR = R(n + 1)\nEnd Function"));
    EXPECT_EQ(evalText(e, "R(1)"), "error 28");
    EXPECT_EQ(toUtf8(e.lastError().description), "スタック領域が不足しています。");
    // The engine is still usable afterwards.
    EXPECT_EQ(evalText(e, "1 + 1"), "2:Integer");
    ASSERT_TRUE(e.addCode(u"Class Loopy\nPublic Default Property Get V\nV = Me + 1\nEnd Property\n"
                          u"End Class"));
    EXPECT_EQ(evalText(e, "(New Loopy) + 1"), "error 28");
}

// The stack bound is found without the C library's look-up in /proc; it must be the same bound,
// also after the program lowers its own limit, and deep recursion must still end in error 28.
TEST(EngineTest, MainThreadStackBoundFollowsTheLimit) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_STACK, &saved), 0);
    if (saved.rlim_cur == RLIM_INFINITY)
        GTEST_SKIP() << "no stack limit to compare with";
    for (const rlim_t limit : {saved.rlim_cur, rlim_t{4} << 20, rlim_t{2} << 20}) {
        rlimit lowered = saved;
        lowered.rlim_cur = std::min(limit, saved.rlim_cur);
        ASSERT_EQ(setrlimit(RLIMIT_STACK, &lowered), 0);
        pthread_attr_t attr;
        ASSERT_EQ(pthread_getattr_np(pthread_self(), &attr), 0);
        void* low = nullptr;
        size_t size = 0;
        pthread_attr_getstack(&attr, &low, &size);
        pthread_attr_destroy(&attr);
        EXPECT_EQ(static_cast<const void*>(vbscript::detail::threadStackBottom()), low)
            << lowered.rlim_cur;
        Engine e;
        vbs(e);
        ASSERT_TRUE(e.addCode(u"Function R(n)\nR = R(n + 1)\nEnd Function"));
        EXPECT_EQ(evalText(e, "R(1)"), "error 28") << lowered.rlim_cur;
        ASSERT_EQ(setrlimit(RLIMIT_STACK, &saved), 0);
    }
}

TEST(EngineTest, DeepRecursionOnASmallThreadStack) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, size_t{512} << 10);
    std::string result;
    pthread_t thread;
    auto run = [](void* out) -> void* {
        Engine e;
        vbs(e);
        e.addCode(u"Function R(n)\nR = R(n + 1)\nEnd Function");
        *static_cast<std::string*>(out) = evalText(e, "R(1)") + " " + evalText(e, "R(-100)");
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, run, &result), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(result, "error 28 error 28");
}

// Text nested past the stack fails with error 28 or a syntax error, never a crash. Where the
// stack holds it (an optimised build has smaller frames), a well-formed text gives its value.
TEST(EngineTest, DeeplyNestedTextFailsCleanly) {
    struct Case {
        const char* piece;
        const char* valueIfItFits; // nullptr: never well-formed
    };
    for (const Case& c : {Case{"(", nullptr}, Case{"-", "1:Integer"}, Case{"Not ", "1:Integer"},
                          Case{"a(", nullptr}, Case{"If 1 Then ", nullptr}}) {
        std::string text;
        for (int i = 0; i < 100000; ++i)
            text += c.piece;
        text += "1";
        Engine e;
        vbs(e);
        const std::string result = evalText(e, text);
        if (c.valueIfItFits && result == c.valueIfItFits)
            continue;
        EXPECT_EQ(result.rfind("error ", 0), 0u) << c.piece << " gave " << result;
        const int n = e.lastError().number;
        EXPECT_TRUE(n == 28 || (n >= 1001 && n <= 1058)) << c.piece << " gave " << n;
        EXPECT_FALSE(e.executeStatement(fromUtf8(text))) << c.piece;
    }
}

TEST(EngineTest, LongObjectChainsAreReleasedWithoutRecursion) {
    Engine e;
    vbs(e);
    ASSERT_TRUE(e.addCode(u"Class Node\nPublic Next_\nEnd Class\n"
                          u"Set head = Nothing\nFor i = 1 To 200000\nSet n = New Node\n"
                          u"Set n.Next_ = head\nSet head = n\nNext\nSet n = Nothing\n"
                          u"Set head = Nothing\nDone = True"));
    EXPECT_EQ(evalText(e, "Done"), "True:Boolean");
}

TEST(EngineTest, InterruptStopsALoop) {
    Engine e;
    vbs(e);
    int polls = 0;
    e.setInterruptCheck([&] { return ++polls > 3; });
    ASSERT_TRUE(e.addCode(u"Function Spin(n)\nFor k = 1 To n\nSpin = Spin + 1\nNext\nEnd Function\n"
                          u"Sub Wait()\nDo While True\nLoop\nEnd Sub"));
    // Every kind of loop, compiled or not, at the top or in a procedure, stops.
    const char* loops[] = {
        "Do\nLoop",
        "On Error Resume Next\nDo\nx = 1\nLoop", // On Error Resume Next cannot swallow it
        "While 1 < 2\nWend",
        "Do Until x = \"never\"\nx = x + 1\nLoop",
        "For i = 1 To 2000000000\nNext",
        "For i = 1 To 2 Step 0\nNext",
        "For i = 1 To 2000000000\nFor j = 1 To 3\ns = s + j\nNext\nNext",
        "For d = 0.5 To 1E+300 Step 0.25\nNext",
        "r = Spin(2000000000)",
        "Wait",
    };
    for (const char* text : loops) {
        polls = 0;
        EXPECT_FALSE(e.executeStatement(fromUtf8(text))) << text;
        EXPECT_EQ(e.lastError().number, 18) << text;
    }
    e.setInterruptCheck(nullptr);
    EXPECT_TRUE(e.executeStatement(u"For i = 1 To 100000 : Next"));
}

TEST(EngineTest, ValuesOutliveTheEngine) {
    std::optional<Value> kept;
    {
        Engine e;
        vbs(e);
        ASSERT_TRUE(e.addCode(u"Class C\nSub Class_Terminate\nx = 1\nEnd Sub\nEnd Class"));
        kept = e.eval(u"New C");
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(toUtf8(typeName(*kept)), "C");
    }
    kept.reset(); // no terminator runs without its engine, and nothing crashes
}

TEST(EngineTest, EvaluatorUseCases) {
    Engine e;
    vbs(e);
    EXPECT_EQ(evalText(e, "abc"), ":Empty");
    EXPECT_EQ(evalText(e, "\"a\" & Chr(66)"), "aB:String");
    EXPECT_EQ(evalText(e, "Hex(255)"), "FF:String");
    EXPECT_EQ(evalText(e, "TypeName(Now)"), "Date:String");
    EXPECT_TRUE(e.executeStatement(u"Call Foo2") == false);
    EXPECT_EQ(e.lastError().number, 35);
    EXPECT_FALSE(e.eval(u"").has_value());
}

} // namespace
} // namespace vbstest
