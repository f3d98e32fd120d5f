#!/usr/bin/env bash
# The global hotkey (Windows+Z) calls a hidden window up with the focus in the input line, also
# with Caps Lock on, and sends it away again; a calculation typed after it runs. The window is
# topmost (TopMost=True) and stays the same window, in the topmost band, at every show.
. "$(dirname "$0")/lib.sh"
require_feature "CHotKey::" "global hotkey"
require_feature "ExecuteLine" "line dispatcher"

# Caps Lock and the layout are the display's: a failure half-way must not leave them to the next
# script.
caps_on=
layout=
restore_keyboard() {
    [ -z "$caps_on" ] || xdotool key Caps_Lock
    [ -z "$layout" ] || setxkbmap -layout "$layout"
}
trap 'restore_keyboard; cleanup' EXIT

write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False" "TopMost=True"
start_program /tray
WIN=$("$TOOL" main-window "$PID" 3000 2>/dev/null) && fail "a /tray start showed its window"
# The hidden window exists; find it by showing it with the hotkey.
sleep 0.5
press super+z
wait_main_window
wait_state "$WIN" active
topmost() { "$TOOL" state "$WIN" | grep -qx _NET_WM_STATE_ABOVE; }
eventually 5 topmost || fail "not topmost: $("$TOOL" state "$WIN" | tr '\n' ' ')"

type_text '6*7'
press Return
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
eventually 5 clipboard_is '42' || fail "clipboard holds '$("$TOOL" clipboard 2>/dev/null)'"

press super+z
wait_state "$WIN" unmapped
note "the hotkey hides the window it showed"

# Caps Lock on: the same hotkey.
press Caps_Lock
caps_on=1
press super+z
wait_state "$WIN" active
eventually 5 topmost || fail "shown again, the window left the topmost band"
press Caps_Lock
caps_on=
type_text '1+2'
press Return
eventually 5 clipboard_is '3' || fail "after Caps Lock the input line did not have the focus"
note "with Caps Lock on the hotkey still works and the input line has the focus"

# A German layout puts Z where Y was: the grab follows the key to its new place.
if command -v setxkbmap >/dev/null; then
    original=$(setxkbmap -query | awk '/^layout:/ { print $2 }')
    layout=${original:-us}
    setxkbmap -layout de || fail "setxkbmap could not switch the layout"
    sleep 0.3
    press super+z
    wait_state "$WIN" unmapped
    press super+z
    wait_state "$WIN" active
    setxkbmap -layout "$layout"
    layout=
    note "after a layout change the hotkey is on the key that now types Z"
fi
