// What finding the stack bound costs at the first script run of a thread: our own look-up for the
// main thread beside the C library's, which reads /proc/self/maps.
#include "vbscript/StackGuard.h"

#include <benchmark/benchmark.h>

namespace {

void MainStackBound(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(vbscript::detail::threadStackBottom());
}

void MainStackBoundThroughLibc(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(vbscript::detail::stackBottomFromThreadAttributes());
}

} // namespace

BENCHMARK(MainStackBound)->Unit(benchmark::kMicrosecond);
BENCHMARK(MainStackBoundThroughLibc)->Unit(benchmark::kMicrosecond);
