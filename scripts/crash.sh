#!/usr/bin/env bash
# The crash campaign: the memo writer, the settings writer, scrivlet-cli and the running window
# (handed lines by scrivlet-cli) are killed with SIGKILL at random moments (KILLS each, 1000 by
# default) and every file is checked after each kill; then a small file system is filled to show
# that a full disk keeps the last good file. WINDOW=0 leaves the window out.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF \
    -DSCRIVLET_BENCH=ON >/dev/null
targets=(crash_writer crash_campaign scrivlet-cli)
[ "${WINDOW:-1}" = 0 ] || targets+=(scrivlet)
cmake --build build/rel -j2 --target "${targets[@]}"
bin=$PWD/build/rel/bin

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run" "$work/config" "$work/home" "$work/files" "$work/full" "$work/window"
chmod 700 "$work/run"
# No running window of the user's may take the lines, and no user file is touched.
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config HOME=$work/home

window=()
if [ "${WINDOW:-1}" != 0 ]; then
    # A copy run from a writable folder keeps its files beside it; a private X server shows it.
    cp "$bin/scrivlet" "$work/window/scrivlet"
    . scripts/x11-bed.sh
    start_x11_bed
    trap 'kill ${X11_BED_PIDS:-} 2>/dev/null || true; rm -rf "$work"' EXIT
    window=(--window "$work/window/scrivlet" --window-dir "$work/window")
fi

"$bin/crash_campaign" --writer "$bin/crash_writer" --cli "$bin/scrivlet-cli" \
    --dir "$work/files" --kills "${KILLS:-1000}" ${SEED:+--seed "$SEED"} "${window[@]}"

# A 256 KiB file system in a private mount namespace (root, or a user namespace otherwise).
unshare -rm sh -c 'mount -t tmpfs -o size=256k tmpfs "$1" && shift && exec "$@"' sh "$work/full" \
    "$bin/crash_campaign" --writer "$bin/crash_writer" --cli "$bin/scrivlet-cli" \
    --dir "$work/full" --full
