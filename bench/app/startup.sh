#!/usr/bin/env bash
# Start-up and idle figures of the program (a harness that prints figures, not a test):
#   bench/app/startup.sh [BUILD_DIR] [ROUNDS] [RUNS_PER_ROUND]
# 1. Process start to the first window mapped, for scrivlet and for a bare Qt program that shows
#    one editable combo box (the floor), in alternating rounds of the same run. maptime.c takes
#    the time from the X map event (no polling). Runs with a session bus as on a desktop.
# 2. A hidden, idle scrivlet: wake-ups (context switches of all its threads) over IDLE_SECONDS
#    (default 60), counted after IDLE_SETTLE seconds (default 40), and its resident memory.
# BUILD_DIR (default build/rel) is configured as a Release build with the benchmarks when it does
# not exist yet. Needs DISPLAY, or Xvfb and openbox for a private one (scripts/x11-bed.sh).
# BASELINE=/path/to/an/older/scrivlet adds that program to the same rounds, for a before and after.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/rel}
rounds=${2:-10}
runs=${3:-5}
idle_seconds=${IDLE_SECONDS:-60}
idle_settle=${IDLE_SETTLE:-40}

# A session bus as on a desktop: without one every Qt program pays for looking for it.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- "$0" "$build" "$rounds" "$runs"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF \
        -DSCRIVLET_BENCH=ON >/dev/null
fi
nice cmake --build "$build" -j2 --target scrivlet startup_peer >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-startup.XXXXXX")
resident=
cleanup() {
    [ -n "$resident" ] && kill "$resident" 2>/dev/null && wait "$resident" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cc -O2 -o "$work/maptime" "$root/bench/app/maptime.c" -lxcb

# The program in a folder of its own (its settings and memo file go beside it), private user
# folders, so that neither a running scrivlet nor the user's files take part.
mkdir -p "$work/program" "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/scrivlet" "$build/bin/startup_peer" "$work/program/"
if [ -n "${BASELINE:-}" ]; then
    # A folder and a runtime folder of its own: its lock and socket may differ from ours.
    mkdir -p "$work/baseline" "$work/baseline-runtime"
    chmod 700 "$work/baseline-runtime"
    cp "$BASELINE" "$work/baseline/scrivlet"
fi
baseline_maptime() { XDG_RUNTIME_DIR=$work/baseline-runtime "$work/maptime" "$@"; }
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset SESSION_MANAGER

if [ -z "${DISPLAY:-}" ]; then
    . "$root/scripts/x11-bed.sh"
    start_x11_bed
fi

scrivlet=$work/program/scrivlet
peer=$work/program/startup_peer
# Warm-up: the first start writes the settings and memo files, and fills the page cache.
"$work/maptime" 3 "$peer" >/dev/null
"$work/maptime" 3 "$scrivlet" >/dev/null
[ -n "${BASELINE:-}" ] && baseline_maptime 3 "$work/baseline/scrivlet" >/dev/null

: >"$work/peer.txt"
: >"$work/scrivlet.txt"
: >"$work/baseline.txt"
for _ in $(seq "$rounds"); do
    "$work/maptime" "$runs" "$peer" >>"$work/peer.txt"
    "$work/maptime" "$runs" "$scrivlet" >>"$work/scrivlet.txt"
    if [ -n "${BASELINE:-}" ]; then
        baseline_maptime "$runs" "$work/baseline/scrivlet" >>"$work/baseline.txt"
    fi
done

# median, 90th percentile and minimum of a file of numbers
figures() {
    sort -n "$1" | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              p = v[int(NR * 0.9 + 0.999)]
              printf "%.1f %.1f %.1f %d\n", m, p, v[1], NR }'
}
read -r peer_median peer_p90 peer_min n < <(figures "$work/peer.txt")
read -r own_median own_p90 own_min _ < <(figures "$work/scrivlet.txt")
if grep -qx -- '-1.0' "$work/peer.txt" "$work/scrivlet.txt" "$work/baseline.txt"; then
    echo "warning: some starts showed no window within 10 s" >&2
fi
printf 'start to first window mapped, %d starts each (median / p90 / min, ms):\n' "$n"
printf '  bare Qt combo box  %6.1f %6.1f %6.1f\n' "$peer_median" "$peer_p90" "$peer_min"
printf '  scrivlet           %6.1f %6.1f %6.1f\n' "$own_median" "$own_p90" "$own_min"
if [ -n "${BASELINE:-}" ]; then
    read -r base_median base_p90 base_min _ < <(figures "$work/baseline.txt")
    printf '  baseline scrivlet  %6.1f %6.1f %6.1f\n' "$base_median" "$base_p90" "$base_min"
    awk -v a="$base_median" -v b="$peer_median" \
        'BEGIN { printf "  baseline / bare    %6.2f  (baseline - bare: %+.1f ms)\n", a / b, a - b }'
fi
awk -v a="$own_median" -v b="$peer_median" \
    'BEGIN { printf "  scrivlet / bare    %6.2f  (scrivlet - bare: %+.1f ms)\n", a / b, a - b }'

# Idle: started as a user starts it, then hidden with Esc, then left alone.
thread_switches() { # voluntary and involuntary context switches of every thread of process $1
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches:/ { s += $2 } END { print s + 0 }'
}
"$scrivlet" >/dev/null 2>&1 &
resident=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --all --onlyvisible --pid "$resident" --class scrivlet 2>/dev/null |
        head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "scrivlet showed no window" >&2; exit 1; }
sleep 1
# A real key press (XTEST) into the focused window: Qt takes no synthetic key events.
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key Escape
sleep 2
# The tray icon is a visible window of the process too: look for the bar itself.
if xdotool search --onlyvisible --pid "$resident" --class scrivlet 2>/dev/null | grep -qx "$window"; then
    echo "warning: the window did not hide on Esc; measuring it shown" >&2
fi
# A single-shot timer inside Qt fires once, about half a minute after the hide: counted apart.
threads=$(ls /proc/"$resident"/task | wc -l)
settle_start=$(thread_switches "$resident")
sleep "$idle_settle"
before=$(thread_switches "$resident")
sleep "$idle_seconds"
after=$(thread_switches "$resident")
printf 'first %d s after hiding: %d wake-ups\n' "$((idle_settle + 2))" \
    "$((before - settle_start))"
rss=$(awk '/^VmRSS:/ { print $2 }' /proc/"$resident"/status)
printf 'then hidden and idle for %d s: %d wake-ups (%d threads), %.1f per minute\n' "$idle_seconds" \
    "$((after - before))" "$threads" "$(awk -v n=$((after - before)) -v s="$idle_seconds" \
    'BEGIN { print n * 60 / s }')"
printf 'resident memory of the hidden, idle program: %.1f MiB\n' "$(awk -v k="$rss" \
    'BEGIN { print k / 1024 }')"
