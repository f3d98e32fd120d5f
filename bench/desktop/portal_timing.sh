#!/usr/bin/env bash
# The desktop's shortcut (the portal's Activated, with an activation token) to the window focused
# on headless sway, for a bare Qt window doing the same on the same bus (the floor) and for
# Scrivlet started with /tray, in alternating rounds. Not a test: it prints figures.
#   bench/desktop/portal_timing.sh [PRESSES_PER_ROUND] [ROUNDS]
# Builds Release into build/rel-wayland; starts its own sway and session bus.
set -euo pipefail
cd "$(dirname "$0")/../.."
presses=${1:-30}
rounds=${2:-2}
cmake -S . -B build/rel-wayland -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=ON \
    -DSCRIVLET_BENCH=ON >/dev/null
cmake --build build/rel-wayland --target scrivlet scrivlet-bare-window scrivlet-activation-token \
    portaltime >/dev/null
bin=build/rel-wayland/bin
token_tool=$(find build/rel-wayland -name scrivlet-activation-token -type f | head -n1)

unset WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS DISPLAY
# shellcheck source=scripts/wayland-bed.sh
. scripts/wayland-bed.sh
start_wayland_bed
work=$(mktemp -d)
idle_pid=
trap 'kill $idle_pid 2>/dev/null || true; rm -rf "$work"; stop_wayland_bed' EXIT
mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
cp "$bin/scrivlet" "$work/program/"
printf '%s\r\n' "[Options]" "NoTray=True" >"$work/program/scrivlet.ini"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=wayland
# Another window holds the focus between presses, so only the token can give it.
"$bin/scrivlet-bare-window" --app-id idle >/dev/null 2>&1 &
idle_pid=$!
sleep 1

for round in $(seq "$rounds"); do
    echo "round $round: $presses presses each"
    printf '%-9s ' "bare Qt"
    "$bin/portaltime" "$presses" bare bare "$token_tool" -- "$bin/scrivlet-bare-window" --hidden
    printf '%-9s ' "Scrivlet"
    "$bin/portaltime" "$presses" scrivlet show-hide "$token_tool" -- "$work/program/scrivlet" /tray
done
