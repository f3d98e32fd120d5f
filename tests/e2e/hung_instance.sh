#!/usr/bin/env bash
# A running instance that does not answer: a second start reports it in a box and ends, without
# staying resident beside it. Once the first answers again, second starts reach it as before.
. "$(dirname "$0")/lib.sh"

OWN_SESSION=1 start_program
FIRST=$PID
wait_main_window
wait_state "$WIN" active
kill -STOP "$FIRST"

start_program
SECOND=$PID
BOX=$("$TOOL" dialog "$SECOND" 0 20000) || {
    kill -0 "$FIRST" 2>/dev/null || fail "the stopped first instance ended"
    kill -CONT "$FIRST"
    fail "the second start showed no box"
}
wait_state "$BOX" active
xprop -id "$BOX" WM_NAME | grep -q '"Scrivlet' || fail "box title: $(xprop -id "$BOX" WM_NAME)"
press Return
wait_exit 10
kill -CONT "$FIRST"
[ "$EXIT_CODE" = 0 ] || fail "the second start ended with $EXIT_CODE"

PID=$FIRST
# The request the second start gave up on is still queued and is answered first; once a new start
# has been answered, nothing of the old one can show the window behind the test's back.
read -r _ code _ < <("$TOOL" second-start "$WIN" 15000 "$PROGRAM_DIR/scrivlet") ||
    fail "the first instance no longer answers"
[ "$code" = 0 ] || fail "the first second start after the hang ended with $code"
press Escape
wait_state "$WIN" unmapped
read -r _ code _ < <("$TOOL" second-start "$WIN" 15000 "$PROGRAM_DIR/scrivlet") ||
    fail "a second start did not show the hidden window"
[ "$code" = 0 ] || fail "the later second start ended with $code"
