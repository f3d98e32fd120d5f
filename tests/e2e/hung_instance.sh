#!/usr/bin/env bash
# A running instance that does not answer: a second start reports it in a box and ends, without
# staying resident beside it. Once the first answers again, second starts reach it as before.
. "$(dirname "$0")/lib.sh"

start_program
FIRST=$PID
wait_main_window
wait_state "$WIN" active
kill -STOP "$FIRST"

start_program
SECOND=$PID
BOX=$("$TOOL" dialog "$SECOND" 0 20000) || {
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
xdotool windowactivate "$WIN" 2>/dev/null || true
wait_state "$WIN" active
press Escape
wait_state "$WIN" unmapped
read -r _ code _ < <("$TOOL" second-start "$WIN" 15000 "$PROGRAM_DIR/scrivlet") ||
    fail "the first instance no longer answers"
[ "$code" = 0 ] || fail "the later second start ended with $code"
