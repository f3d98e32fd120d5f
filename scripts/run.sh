#!/usr/bin/env bash
# Builds Scrivlet (Release) and starts it. Extra arguments go to the program (/tray, /topmost, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF >/dev/null
cmake --build build/release --target scrivlet
exec build/release/bin/scrivlet "$@"
