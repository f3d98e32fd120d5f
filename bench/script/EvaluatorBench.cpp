// The input line's cost: one RunCode through the engine, for a plain expression and for a call of
// VBA.Format.
#include "script/ClipboardAccess.h"
#include "script/ProgramEvaluator.h"

#include <benchmark/benchmark.h>

namespace {

void runLine(benchmark::State& state, const QString& line) {
    script::MemoryClipboard clipboard;
    auto eval = script::createProgramEvaluator(QString(), clipboard);
    for (auto _ : state) {
        if (!eval->RunCode(line, false)) {
            state.SkipWithError("RunCode failed");
            break;
        }
        benchmark::DoNotOptimize(eval->Result());
    }
}

void BM_RunCode_Arithmetic(benchmark::State& state) {
    runLine(state, QStringLiteral("(1+2)*3/4"));
}
void BM_RunCode_FormatDate(benchmark::State& state) {
    runLine(state, QStringLiteral("VBA.Format(DateSerial(2025, 4, 1), \"ggge年m月d日\")"));
}
void BM_RunCode_FormatNumber(benchmark::State& state) {
    runLine(state, QStringLiteral("VBA.Format(1234567.891, \"#,##0.00\")"));
}

} // namespace

BENCHMARK(BM_RunCode_Arithmetic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunCode_FormatDate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunCode_FormatNumber)->Unit(benchmark::kMicrosecond);
