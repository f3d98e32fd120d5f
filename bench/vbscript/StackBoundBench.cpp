// What finding the stack bound costs at the first script run of a thread: our own look-up for the
// main thread beside the C library's, which reads /proc/self/maps.
#include "vbscript/StackGuard.h"

#include <benchmark/benchmark.h>

#include <pthread.h>

namespace {

void MainStackBound(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(vbscript::detail::threadStackBottom());
}

void MainStackBoundThroughLibc(benchmark::State& state) {
    for (auto _ : state) {
        pthread_attr_t attr;
        void* low = nullptr;
        size_t size = 0;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            pthread_attr_getstack(&attr, &low, &size);
            pthread_attr_destroy(&attr);
        }
        benchmark::DoNotOptimize(low);
    }
}

} // namespace

BENCHMARK(MainStackBound)->Unit(benchmark::kMicrosecond);
BENCHMARK(MainStackBoundThroughLibc)->Unit(benchmark::kMicrosecond);
