// Format and StrConv throughput: 100,000 calls each on dates and on numbers.
#include "script/vba/OleDate.h"
#include "script/vba/VbaFormat.h"
#include "script/vba/VbaStrConv.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kCalls = 100000;

void runFormat(benchmark::State& state, const QString& format, bool dates) {
    const double base = script::dateToOleDate(2025, 4, 1) + 0.4375;
    for (auto _ : state) {
        for (int i = 0; i < kCalls; ++i) {
            const script::VbaValue value = dates ? script::VbaValue::fromDate(base + i * 0.37)
                                                 : script::VbaValue::fromNumber(i * 1234.5678);
            benchmark::DoNotOptimize(script::vbaFormat(value, format));
        }
    }
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(kCalls),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_FormatDate_yyyymmdd_hhnnss(benchmark::State& state) {
    runFormat(state, QStringLiteral("yyyy/mm/dd hh:nn:ss"), true);
}
void BM_FormatDate_Japanese(benchmark::State& state) {
    runFormat(state, QStringLiteral("ggge年m月d日(aaa)"), true);
}
void BM_FormatDate_LongDate(benchmark::State& state) {
    runFormat(state, QStringLiteral("Long Date"), true);
}
void BM_FormatNumber_Grouped(benchmark::State& state) {
    runFormat(state, QStringLiteral("#,##0.00"), false);
}
void BM_FormatNumber_Sections(benchmark::State& state) {
    runFormat(state, QStringLiteral("#,##0,;(#,##0,);\\Z\\e\\r\\o"), false);
}
void BM_FormatNumber_Scientific(benchmark::State& state) {
    runFormat(state, QStringLiteral("0.00E+00"), false);
}

void BM_StrConv_NarrowWide(benchmark::State& state) {
    const QString text = QStringLiteral("ガギグゲゴパピプペポ ＡＢＣ　１２３ ひらがな");
    for (auto _ : state) {
        for (int i = 0; i < kCalls; ++i) {
            benchmark::DoNotOptimize(
                script::vbaStrConv(text, i % 2 ? script::vbNarrow : script::vbWide));
        }
    }
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(kCalls),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(BM_FormatDate_yyyymmdd_hhnnss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatDate_Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatDate_LongDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatNumber_Grouped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatNumber_Sections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatNumber_Scientific)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrConv_NarrowWide)->Unit(benchmark::kMillisecond);
