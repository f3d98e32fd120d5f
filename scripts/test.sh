#!/usr/bin/env bash
# Builds Scrivlet with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# Starts Xvfb, openbox and a tray when there is no DISPLAY. Extra arguments go to ctest
# (for example: -L e2e, or -R Ini).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DSCRIVLET_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
# shellcheck source=scripts/x11-bed.sh
. scripts/x11-bed.sh
start_x11_bed
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
