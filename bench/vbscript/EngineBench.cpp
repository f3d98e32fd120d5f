// Whole scripts run through the engine the way a user's script file is loaded.
#include "vbscript/Engine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

void runScript(benchmark::State& state, const char16_t* source) {
    for (auto _ : state) {
        vbscript::Engine engine;
        engine.setLanguage(u"VBScript");
        if (!engine.addCode(source)) {
            state.SkipWithError("script failed");
            return;
        }
        benchmark::DoNotOptimize(engine.lastError().number);
    }
}

void Fib25(benchmark::State& state) {
    runScript(state, u"Function Fib(n)\n"
                     u"  If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)\n"
                     u"End Function\n"
                     u"r = Fib(25)\n");
}

void ArithmeticLoop(benchmark::State& state) {
    runScript(state, u"s = 0\n"
                     u"For i = 1 To 1000000\n"
                     u"  s = s + (i Mod 7) * 3\n"
                     u"Next\n");
}

void StringBuilding(benchmark::State& state) {
    runScript(state, u"s = \"\"\n"
                     u"For i = 1 To 100000\n"
                     u"  s = s & \"ab\"\n"
                     u"Next\n"
                     u"If Len(s) <> 200000 Then Err.Raise 5\n");
}

void BubbleSort(benchmark::State& state) {
    runScript(state, u"Dim a(1999)\n"
                     u"Randomize 1\n"
                     u"For i = 0 To 1999 : a(i) = Rnd : Next\n"
                     u"For i = 0 To 1998\n"
                     u"  For j = 0 To 1998 - i\n"
                     u"    If a(j) > a(j + 1) Then t = a(j) : a(j) = a(j + 1) : a(j + 1) = t\n"
                     u"  Next\n"
                     u"Next\n"
                     u"For i = 1 To 1999\n"
                     u"  If a(i - 1) > a(i) Then Err.Raise 5\n"
                     u"Next\n");
}

} // namespace

BENCHMARK(Fib25)->Unit(benchmark::kMillisecond);
BENCHMARK(ArithmeticLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(StringBuilding)->Unit(benchmark::kMillisecond);
BENCHMARK(BubbleSort)->Unit(benchmark::kMillisecond);
