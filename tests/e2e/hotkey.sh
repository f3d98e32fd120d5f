#!/usr/bin/env bash
# The global hotkey (Windows+Z) calls a hidden window up with the focus in the input line, also
# with Caps Lock on, and sends it away again; a calculation typed after it runs.
. "$(dirname "$0")/lib.sh"
require_feature "CHotKey::" "global hotkey"
require_feature "ExecuteLine" "line dispatcher"

write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False"
start_program /tray
WIN=$("$TOOL" main-window "$PID" 3000 2>/dev/null) && fail "a /tray start showed its window"
# The hidden window exists; find it by showing it with the hotkey.
sleep 0.5
press super+z
wait_main_window
wait_state "$WIN" active

type_text '6*7'
press Return
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
eventually 5 clipboard_is '42' || fail "clipboard holds '$("$TOOL" clipboard 2>/dev/null)'"

press super+z
wait_state "$WIN" unmapped
note "the hotkey hides the window it showed"

# Caps Lock on: the same hotkey.
press Caps_Lock
press super+z
wait_state "$WIN" active
press Caps_Lock
type_text '1+2'
press Return
eventually 5 clipboard_is '3' || fail "after Caps Lock the input line did not have the focus"
note "with Caps Lock on the hotkey still works and the input line has the focus"
