#!/usr/bin/env bash
# The tray icon on a desktop of its own (so that its tray host can be stopped and started again):
# it is embedded, a left click toggles the window, a right click opens the program's menu, and a
# restarted tray host gets the icon back. The window is topmost (/topmost) and comes back as the
# same window, still topmost.
if [ -z "${SCRIVLET_TRAY_BED:-}" ]; then
    command -v Xvfb >/dev/null && command -v trayer >/dev/null && command -v openbox >/dev/null ||
        { echo "SKIPPED: Xvfb, openbox or trayer is not installed" >&2; exit 77; }
    unset DISPLAY
    . "$(dirname "$0")/../../scripts/x11-bed.sh"
    start_x11_bed
    export SCRIVLET_TRAY_BED=1 X11_BED_PIDS
    bash "$0"
    exit $?
fi
. "$(dirname "$0")/lib.sh"
require_feature "CTray::" "tray icon"

start_program /topmost
wait_main_window
wait_state "$WIN" active
read -r ICON x y w h < <("$TOOL" tray-icon "$PID" 10000) || fail "the icon was not embedded"
note "icon $ICON embedded at $x,$y (${w}x$h)"
cx=$((x + w / 2))
cy=$((y + h / 2))

click_icon() { # BUTTON
    xdotool mousemove "$((cx - 3))" "$cy" sleep 0.1 mousemove "$cx" "$cy" sleep 0.2 click "$1"
}
click_icon 1
wait_state "$WIN" unmapped
click_icon 1
wait_state "$WIN" active
topmost() { "$TOOL" state "$WIN" | grep -qx _NET_WM_STATE_ABOVE; }
eventually 5 topmost || fail "shown again, the window left the topmost band"
note "left clicks hide and show the window, which stays topmost"

click_icon 3
menu=$("$TOOL" popup "$PID" 5000) || fail "no menu opened"
press Escape
"$TOOL" wait "$menu" unmapped 3000 || fail "the menu stayed open"
note "a right click opens the program's menu"

# The bed started trayer last.
trayer_pid=${X11_BED_PIDS##* }
kill "$trayer_pid"
trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
STARTED+=("$!")
read -r ICON x y w h < <("$TOOL" tray-icon "$PID" 10000) ||
    fail "the icon did not come back to the restarted tray"
note "the restarted tray shows the icon again ($ICON)"
