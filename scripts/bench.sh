#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all, or those named: scripts/bench.sh vbscript_bench
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF \
    -DSCRIVLET_BENCH=ON >/dev/null
cmake --build build/bench
for b in build/bench/bin/*_bench; do
    if [ $# -eq 0 ] || printf '%s\n' "$@" | grep -qx "$(basename "$b")"; then
        echo "== $(basename "$b")"
        "$b" --benchmark_min_time=0.2
    fi
done
