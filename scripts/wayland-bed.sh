#!/usr/bin/env bash
# Starts headless sway and a private session bus for the Wayland tests, when there is no
# WAYLAND_DISPLAY. Source it: it exports WAYLAND_DISPLAY (an absolute path), SWAYSOCK and
# DBUS_SESSION_BUS_ADDRESS, and registers a trap that stops what it started (stop_wayland_bed).
#
# sway refuses to run as root, so it runs as nobody with a runtime folder of its own; the
# socket is made reachable for the tests (which may run as root).
start_wayland_bed() {
    if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${SWAYSOCK:-}" ]; then
        return 0
    fi
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
    WAYLAND_BED_DIR="$(mktemp -d /tmp/scrivlet-wayland.XXXXXX)"
    chmod 755 "$WAYLAND_BED_DIR"
    local runtime="$WAYLAND_BED_DIR/sway-runtime"
    mkdir -m 700 "$runtime"
    local user=()
    if [ "$(id -u)" -eq 0 ]; then
        chown 65534:65534 "$runtime"
        user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        "${user[@]}" sway --config "$here/wayland-bed/sway.conf" \
        >"$WAYLAND_BED_DIR/sway.log" 2>&1 &
    WAYLAND_BED_PIDS="$!"
    local socket=""
    for _ in $(seq 1 100); do
        socket="$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s 2>/dev/null | head -n1)"
        [ -n "$socket" ] && [ -n "$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -type s)" ] &&
            break
        sleep 0.1
    done
    if [ -z "$socket" ]; then
        echo "wayland bed: sway did not start:" >&2
        cat "$WAYLAND_BED_DIR/sway.log" >&2
        return 1
    fi
    # Clients of another user (root in CI) need to reach the sockets.
    chmod 711 "$runtime"
    chmod 666 "$socket" "$runtime"/sway-ipc.*
    export WAYLAND_DISPLAY="$socket"
    SWAYSOCK="$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -type s | head -n1)"
    export SWAYSOCK
    # A headless seat has no keyboard: clients then follow the compositor's activated state, and
    # each typing tool's keyboard coming and going would leave them without keyboard focus. One
    # virtual keyboard that stays for the whole session is what a real seat looks like.
    wtype -s 3600000 &
    WAYLAND_BED_PIDS="$WAYLAND_BED_PIDS $!"
    dbus-daemon --config-file="$here/wayland-bed/session-bus.conf" --nofork \
        --print-address=3 3>"$WAYLAND_BED_DIR/bus-address" &
    WAYLAND_BED_PIDS="$WAYLAND_BED_PIDS $!"
    for _ in $(seq 1 50); do
        [ -s "$WAYLAND_BED_DIR/bus-address" ] && break
        sleep 0.1
    done
    DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$WAYLAND_BED_DIR/bus-address")"
    export DBUS_SESSION_BUS_ADDRESS
    trap stop_wayland_bed EXIT
}

stop_wayland_bed() {
    [ -n "${WAYLAND_BED_PIDS:-}" ] || return 0
    kill $WAYLAND_BED_PIDS 2>/dev/null || true
    wait $WAYLAND_BED_PIDS 2>/dev/null || true
    rm -rf "$WAYLAND_BED_DIR"
    WAYLAND_BED_PIDS=
}
