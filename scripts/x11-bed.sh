#!/usr/bin/env bash
# Starts a private X server with a window manager and a tray for the X11 tests, when there is no
# DISPLAY. Source it: it exports DISPLAY and registers a trap that stops what it started.
start_x11_bed() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local n=77
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/tmp/scrivlet-xvfb.log 2>&1 &
    X11_BED_PIDS="$!"
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/tmp/scrivlet-openbox.log 2>&1 &
    X11_BED_PIDS="$X11_BED_PIDS $!"
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        >/tmp/scrivlet-trayer.log 2>&1 &
    X11_BED_PIDS="$X11_BED_PIDS $!"
    trap 'kill $X11_BED_PIDS 2>/dev/null || true' EXIT
    sleep 0.5
}
