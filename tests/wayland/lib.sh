# Shared set-up of the Wayland end-to-end scripts (source it): headless sway and a private session
# bus of the script's own, a fresh program folder with private HOME and XDG folders, and helpers
# for the compositor's view (focus, mapped windows), the fake portal and typing. Nothing here
# skips: a missing tool is a failure, so that CI never passes without having run the test.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/report.sh
. "$HERE/../e2e/report.sh"

[ -n "${SCRIVLET_PROGRAM:-}" ] && [ -x "$SCRIVLET_PROGRAM" ] || fail "the scrivlet program is not built"
for tool in sway swaymsg wtype wl-paste jq dbus-daemon dbus-send setpriv; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/deps.sh test"
done

unset WAYLAND_DISPLAY SWAYSOCK DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XDG_ACTIVATION_TOKEN
# shellcheck source=scripts/wayland-bed.sh
. "$HERE/../../scripts/wayland-bed.sh"
start_wayland_bed || fail "the Wayland bed did not start"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-wayland-e2e.XXXXXX")
PROGRAM_DIR=$WORK/program
mkdir -p "$PROGRAM_DIR" "$WORK/home" "$WORK/config" "$WORK/data" "$WORK/cache" "$WORK/runtime"
chmod 700 "$WORK/runtime"
cp "$SCRIVLET_PROGRAM" "$PROGRAM_DIR/scrivlet"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_CACHE_HOME=$WORK/cache XDG_RUNTIME_DIR=$WORK/runtime
export QT_QPA_PLATFORM=wayland LANG=C.UTF-8 LANGUAGE=ja # the Japanese texts
INI=$PROGRAM_DIR/scrivlet.ini
STARTED=()

cleanup() {
    local pid
    for pid in "${STARTED[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${STARTED[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
    stop_wayland_bed
}
trap cleanup EXIT

write_ini() { printf '%s\r\n' "$@" >"$INI"; }

start_program() {
    "$PROGRAM_DIR/scrivlet" "$@" >>"$WORK/program.log" 2>&1 &
    PID=$!
    STARTED+=("$PID")
}
start_bare_window() {
    "$SCRIVLET_BARE_WINDOW" "$@" >>"$WORK/bare.log" 2>&1 &
    STARTED+=("$!")
}
start_fake_portal() {
    "$SCRIVLET_FAKE_PORTAL" "$@" >>"$WORK/portal.log" 2>&1 &
    STARTED+=("$!")
    eventually 5 bus_has org.freedesktop.portal.Desktop || fail "the fake portal did not start"
}

bus_has() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# The compositor's view: the app id of the focused window, and whether a window of an app is
# mapped.
focused_app() { swaymsg -t get_tree | jq -r '.. | objects | select(.focused? == true) | .app_id // .name'; }
is_focused() { [ "$(focused_app)" = "$1" ]; }
is_mapped() { swaymsg -t get_tree | jq -e --arg a "$1" '[.. | objects | select(.app_id? == $a)] | length > 0' >/dev/null; }
is_unmapped() { ! is_mapped "$1"; }

# A fresh token from the compositor, as a launcher gets one.
activation_token() { "$SCRIVLET_ACTIVATION_TOKEN_TOOL" || fail "the compositor gave no activation token"; }

portal() { # METHOD [dbus-send ARGUMENTS...]
    local method=$1
    shift
    dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/scrivlet/test \
        "org.scrivlet.test.FakePortal.$method" "$@"
}
# The desktop's key pressed: the portal's Activated for the program's shortcut, with a token.
press_shortcut() { portal Activate string: string:show-hide "string:${1:-}" >/dev/null; }

# wtype makes a new virtual keyboard each time, which loses keys sent before the compositor has
# taken its keymap: one call with a pause first.
type_line() { wtype -s 300 -d 10 "$1" -k Return; } # "$1" must not start with "-"
clipboard_is() { [ "$(wl-paste --no-newline 2>/dev/null)" = "$1" ]; }
