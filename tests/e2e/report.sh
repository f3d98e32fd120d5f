# shellcheck shell=bash
# How the shell tests report and wait (source it): exit 77 is a skip, which ctest shows with the reason; a
# failure shows the end of the program's output when the script keeps one in $WORK/program.log.
skip() {
    echo "SKIPPED: $*" >&2
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    if [ -n "${WORK:-}" ] && [ -s "$WORK/program.log" ]; then
        echo "--- program output:" >&2
        tail -n 30 "$WORK/program.log" >&2
    fi
    exit 1
}
note() { echo "-- $*" >&2; }

# Polls a command until it succeeds or TIMEOUT_SECONDS have passed.
eventually() { # TIMEOUT_SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}
