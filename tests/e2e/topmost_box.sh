#!/usr/bin/env bash
# "/topmost" puts the window in the topmost band for this run only; the exit confirmation then
# stands above it, and after "No" the window is topmost again.
. "$(dirname "$0")/lib.sh"

has_state() { "$TOOL" state "$WIN" | grep -qx "$1"; }

start_program /topmost
wait_main_window
wait_state "$WIN" active
eventually 5 has_state _NET_WM_STATE_ABOVE || fail "not topmost: $("$TOOL" state "$WIN" | tr '\n' ' ')"
has_state _NET_WM_STATE_SKIP_TASKBAR || fail "the bar shows in the task bar"
[ "$(ini_value Options TopMost)" = False ] || fail "the switch was written to the settings"

press alt+F4
BOX=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no exit confirmation appeared"
wait_state "$BOX" active
eventually 3 "$TOOL" above "$BOX" "$WIN" || fail "the confirmation is below the topmost window"
press n
wait_state "$BOX" unmapped
eventually 5 has_state _NET_WM_STATE_ABOVE || fail "the window did not return to the topmost band"
kill -0 "$PID" 2>/dev/null || fail "answering No ended the program"
