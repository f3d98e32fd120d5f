#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one: scripts/fuzz.sh TARGET [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
seconds=${2:-600}
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSCRIVLET_TESTS=OFF -DSCRIVLET_FUZZ=ON >/dev/null
cmake --build build/fuzz --target "$target"
mkdir -p "fuzz/corpus-$target"
seeds=()
for d in fuzz/seeds/"$target" fuzz/*/seeds/"$target" fuzz/*/seeds; do
    [ -d "$d" ] && seeds+=("$d")
done
build/fuzz/bin/"$target" -max_total_time="$seconds" -rss_limit_mb=4096 \
    "fuzz/corpus-$target" "${seeds[@]}"
