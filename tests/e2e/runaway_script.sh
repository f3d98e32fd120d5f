#!/usr/bin/env bash
# A function of the user's script that never ends does not freeze the program for good: about a
# second after Enter a box with 中止 appears; Esc (and, the second time, Enter on 中止) stops
# the run, which ends as a script error, and the window works on.
. "$(dirname "$0")/lib.sh"
require_feature "RunawayScriptGuard" "runaway script guard"
require_feature "ExecuteLine" "line dispatcher"

printf 'Function Forever()\r\n    Do\r\n    Loop\r\nEnd Function\r\n' >"$PROGRAM_DIR/scrivlet.vbs"
write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False"
start_program
wait_main_window
wait_state "$WIN" active

now_ms() { echo $(($(date +%s%N) / 1000000)); }
stop_run_with() { # KEY
    local started shown box error
    started=$(now_ms)
    press Return
    box=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no stop box appeared"
    shown=$(($(now_ms) - started))
    [ "$shown" -ge 900 ] || fail "the stop box appeared after $shown ms, before the second passed"
    wait_state "$box" active
    press "$1"
    wait_state "$box" unmapped
    error=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "the stopped run showed no error box"
    wait_state "$error" active
    press Return
    wait_state "$error" unmapped
    note "stopped with $1: the box appeared after $shown ms"
}

type_text 'Forever()'
stop_run_with Escape
wait_state "$WIN" active
stop_run_with Return # the box's default button, 中止

# The program is alive and answers.
wait_state "$WIN" active
press ctrl+a
type_text '1+1'
press Return
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
eventually 5 clipboard_is '2' || fail "after the stops, 1+1 gave '$("$TOOL" clipboard 2>/dev/null)'"
kill -0 "$PID" 2>/dev/null || fail "the program ended"
