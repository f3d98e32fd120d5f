#!/usr/bin/env bash
# Hotkey press to the window mapped and holding the focus, for Scrivlet and for a bare Qt program
# on the same key grab (the floor), side by side in one run: rounds alternate between the two so
# that both meet the same machine. Not a test: it prints figures.
#   bench/desktop/hotkey_timing.sh [PRESSES_PER_ROUND] [ROUNDS]
# Builds Release into build/rel. Runs on a private Xvfb with openbox and a message bus unless
# DISPLAY is set.
set -euo pipefail
cd "$(dirname "$0")/../.."
presses=${1:-30}
rounds=${2:-2}
if [ -z "${HOTKEY_TIMING_INNER:-}" ]; then
    cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF \
        -DSCRIVLET_BENCH=ON >/dev/null
    cmake --build build/rel --target scrivlet bare_hotkey_peer hotkeytime >/dev/null
    export HOTKEY_TIMING_INNER=1
    if [ -z "${DISPLAY:-}" ]; then
        # shellcheck source=scripts/x11-bed.sh
        . scripts/x11-bed.sh
        start_x11_bed
    fi
    # A desktop has a session bus; Qt talks to it at start and when windows change.
    if command -v dbus-run-session >/dev/null; then
        exec dbus-run-session -- bash "$0" "$presses" "$rounds"
    fi
    exec bash "$0" "$presses" "$rounds"
fi

bin=build/rel/bin
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
cp "$bin/scrivlet" "$work/program/"
# No tray icon: its window belongs to the process too and is always viewable.
printf '%s\r\n' "[Options]" "NoTray=True" "HotKey=90" "HotKeyMask=8" >"$work/program/scrivlet.ini"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb

measure() { # NAME COMMAND...
    local name=$1 pid
    shift
    "$@" >/dev/null 2>&1 &
    pid=$!
    pids+=("$pid")
    sleep 1.5
    printf '%-9s ' "$name"
    "$bin/hotkeytime" "$presses" "$pid" mod4 z
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    sleep 0.5
}

for round in $(seq "$rounds"); do
    echo "round $round: $presses presses each"
    measure "bare Qt" "$bin/bare_hotkey_peer"
    measure "Scrivlet" "$work/program/scrivlet" /tray
done
