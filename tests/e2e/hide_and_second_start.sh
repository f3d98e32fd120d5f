#!/usr/bin/env bash
# Esc hides the window; starting the program again brings the hidden window back with the focus,
# and the second start ends with code 0 without a window of its own and without writing a file.
. "$(dirname "$0")/lib.sh"

start_program
wait_main_window
wait_state "$WIN" active

press Escape
wait_state "$WIN" unmapped
# The hide deactivates the program, which saves the window position: let that land first.
sleep 0.3
before=$(cd "$PROGRAM_DIR" && ls -l --time-style=+%s.%N && md5sum -- *)

read -r shown_ms code own_windows < <("$TOOL" second-start "$WIN" 15000 "$PROGRAM_DIR/scrivlet") ||
    fail "the hidden window did not come back"
[ "$code" = 0 ] || fail "the second start ended with $code"
[ "$own_windows" = 0 ] || fail "the second start mapped $own_windows window(s) of its own"
wait_state "$WIN" active
kill -0 "$PID" 2>/dev/null || fail "the first instance ended"

after=$(cd "$PROGRAM_DIR" && ls -l --time-style=+%s.%N && md5sum -- *)
[ "$before" = "$after" ] || fail "the second start changed the program folder:
$before
---
$after"
# Typing goes to the input line of the window that came back.
press Escape
wait_state "$WIN" unmapped
note "hidden window shown by a second start after ${shown_ms} ms"
