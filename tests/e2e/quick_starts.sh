#!/usr/bin/env bash
# Three starts at once leave exactly one resident instance with one window; the others end with
# code 0. After that instance is killed, the next start becomes resident in its place (the socket
# it left behind is taken over, no "not answering" box).
. "$(dirname "$0")/lib.sh"

pids=()
for _ in 1 2 3; do
    start_program
    pids+=("$PID")
done
running() {
    local pid count=0
    for pid in "${pids[@]}"; do
        kill -0 "$pid" 2>/dev/null && count=$((count + 1))
    done
    echo "$count"
}
only_one_left() { [ "$(running)" = 1 ]; }
eventually 30 only_one_left || fail "$(running) instances stayed resident"
for pid in "${pids[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
        RESIDENT=$pid
    else
        PID=$pid
        wait_exit
        [ "$EXIT_CODE" = 0 ] || fail "a later start ended with $EXIT_CODE"
    fi
done
PID=$RESIDENT
wait_main_window
sleep 0.5 # any straggling hand-off would show up as a second window now
[ "$(xdotool search --onlyvisible --pid "$RESIDENT" --name 'Scrivlet' 2>/dev/null | wc -l)" -ge 1 ] ||
    fail "the resident instance shows no window"

kill -KILL "$RESIDENT"
PID=$RESIDENT
wait_exit 2>/dev/null
[ -n "$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'Scrivlet-frmMemo-*')" ] ||
    fail "the killed instance left no socket behind to take over"
start_program
wait_main_window
wait_state "$WIN" active
"$TOOL" dialog "$PID" "$WIN" 300 >/dev/null 2>&1 && fail "the restart showed a box"
true
