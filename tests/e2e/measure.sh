#!/usr/bin/env bash
# Timed harness (not a test): start-up and hand-off times over 20 runs each, and the resident
# memory of the idle program, measured on the real program under X11.
#   tests/e2e/measure.sh PROGRAM E2E_TOOL [RUNS]
# Use a Release or RelWithDebInfo build; needs DISPLAY (source scripts/x11-bed.sh first).
export SCRIVLET_PROGRAM=${1:?program} SCRIVLET_E2E_TOOL=${2:?e2e tool}
runs=${3:-20}
. "$(dirname "$0")/lib.sh"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# 1. Second start to the first instance's hidden window shown and active. Measured first: the
# instances killed in a row below keep the tray busy for seconds, which a hand-off would pay for.
start_program
wait_main_window
wait_state "$WIN" active
: >"$WORK/handoff.txt"
hide() { # Esc, again if the window took it before its focus had settled
    local try
    for try in 1 2 3; do
        press Escape
        "$TOOL" wait "$WIN" unmapped 1000 2>/dev/null && return 0
    done
    fail "Esc did not hide the window"
}
for _ in $(seq "$runs"); do
    hide
    read -r ms code _ < <("$TOOL" second-start "$WIN" 15000 "$PROGRAM_DIR/scrivlet") ||
        fail "the hidden window did not come back"
    [ "$code" = 0 ] || fail "second start ended with $code"
    echo "$ms" >>"$WORK/handoff.txt"
done

# Resident memory once the program is idle.
hide
sleep 2
rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status")
kill -TERM "$PID"
wait_exit

# 2. Process start to the main window mapped and active (the input line has the focus then).
: >"$WORK/startup.txt"
for _ in $(seq "$runs"); do
    read -r PID ms < <("$TOOL" launch-until-active 20000 "$PROGRAM_DIR/scrivlet") ||
        fail "the window did not come up"
    STARTED+=("$PID")
    echo "$ms" >>"$WORK/startup.txt"
    kill -TERM "$PID"
    wait_exit
done

printf 'start to window active, median of %d: %s ms (min %s, max %s)\n' "$runs" \
    "$(median <"$WORK/startup.txt")" "$(sort -n "$WORK/startup.txt" | head -n 1)" \
    "$(sort -n "$WORK/startup.txt" | tail -n 1)"
printf 'second start to window shown, median of %d: %s ms (min %s, max %s)\n' "$runs" \
    "$(median <"$WORK/handoff.txt")" "$(sort -n "$WORK/handoff.txt" | head -n 1)" \
    "$(sort -n "$WORK/handoff.txt" | tail -n 1)"
echo "hand-off runs: $(tr "\n" " " <"$WORK/handoff.txt")" >&2
printf 'resident memory of the idle program: %s KiB\n' "$rss"
