#!/usr/bin/env bash
# Filing a line into a 10 KB and a 20 MB memo file, and scrivlet-cli with a 20 MB settings file:
# a Release build of the harness, run on this machine's temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF \
    -DSCRIVLET_BENCH=ON >/dev/null
cmake --build build/rel -j2 --target memo_line_scale_bench scrivlet-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No running window of the user's may take part.
XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work HOME=$work \
    build/rel/bin/memo_line_scale_bench --cli "$PWD/build/rel/bin/scrivlet-cli" "$@"
