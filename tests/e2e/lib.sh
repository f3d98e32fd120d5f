# Shared set-up of the end-to-end scripts (source it): a fresh program folder with a copy of the
# program, private HOME and XDG folders, the program's start and end, and small X11 helpers.
# Exit 77 means skipped: the program, a display or a feature a script needs is not there.
set -euo pipefail

# shellcheck source=tests/e2e/report.sh
. "$(dirname "${BASH_SOURCE[0]}")/report.sh"

[ -n "${SCRIVLET_PROGRAM:-}" ] && [ -x "$SCRIVLET_PROGRAM" ] || skip "the scrivlet program is not built"
[ -n "${SCRIVLET_E2E_TOOL:-}" ] && [ -x "$SCRIVLET_E2E_TOOL" ] || skip "the e2e tool is not built"
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || skip "no X display (scripts/test.sh starts Xvfb)"
command -v xdotool >/dev/null || skip "xdotool is not installed"

TOOL=$SCRIVLET_E2E_TOOL
ARTIFACTS=${SCRIVLET_ARTIFACTS:-${TMPDIR:-/tmp}/scrivlet-artifacts}
mkdir -p "$ARTIFACTS"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-e2e.XXXXXX")
PROGRAM_DIR=$WORK/program
mkdir -p "$PROGRAM_DIR" "$WORK/home" "$WORK/config" "$WORK/data" "$WORK/cache" "$WORK/runtime" \
    "$WORK/bin"
chmod 700 "$WORK/runtime"
cp "$SCRIVLET_PROGRAM" "$PROGRAM_DIR/scrivlet"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_CACHE_HOME=$WORK/cache XDG_RUNTIME_DIR=$WORK/runtime
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LANGUAGE=ja # the Japanese texts, unless a test asks for English
export PATH="$WORK/bin:$PATH"
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS

INI=$PROGRAM_DIR/scrivlet.ini
MEMO=$PROGRAM_DIR/scrivlet.txt
STARTED=()

cleanup() {
    local pid
    for pid in "${STARTED[@]}"; do
        kill "$pid" 2>/dev/null || true
        kill -CONT "$pid" 2>/dev/null || true # a stopped process ends only once continued
    done
    for pid in "${STARTED[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

# Whether the program was built with a part (a symbol name of it, e.g. uMultiMemo): scripts skip
# until the part is in, and really run from then on.
has_feature() {
    [ -s "$WORK/symbols" ] || nm -C "$SCRIVLET_PROGRAM" >"$WORK/symbols" 2>/dev/null || true
    grep -q -- "$1" "$WORK/symbols"
}
require_feature() {
    has_feature "$1" || skip "the program has no $2 yet"
}

# Starts the program in the background; PID is its process id. OWN_SESSION=1 starts it in a
# session of its own (setsid execs it in place: a background job of a script leads no group), for
# a script that stops it: the kernel continues the stopped members of a process group with SIGHUP,
# which ends the program as the end of a session does, once the group loses its last parent
# outside it (the shell that started the test run ends or leaves it in the background).
start_program() {
    ${OWN_SESSION:+setsid} "$PROGRAM_DIR/scrivlet" "$@" >>"$WORK/program.log" 2>&1 &
    PID=$!
    STARTED+=("$PID")
}

# WIN: the program's main window, once mapped.
wait_main_window() {
    WIN=$("$TOOL" main-window "$PID" 20000) || fail "the main window never appeared"
}
wait_state() { # WIN STATE [TIMEOUT_MS]
    "$TOOL" wait "$1" "$2" "${3:-5000}" || fail "window $1 never became $2"
    # The window manager reports activation a moment before the toolkit has moved its keyboard
    # focus; keys sent in between are lost.
    if [ "$2" = active ]; then sleep 0.15; fi
}

# Waits for the program to end; EXIT_CODE is its code.
wait_exit() { # [TIMEOUT_SECONDS]
    local deadline=$((SECONDS + ${1:-10}))
    while kill -0 "$PID" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the program did not end"
        sleep 0.05
    done
    EXIT_CODE=0
    wait "$PID" 2>/dev/null || EXIT_CODE=$?
}

# Alt+F4, the exit confirmation answered Yes, and the end: the program must end with code 0.
quit_with_yes() {
    press alt+F4
    BOX=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no exit confirmation appeared"
    wait_state "$BOX" active
    press y
    wait_exit
    [ "$EXIT_CODE" = 0 ] || fail "the program ended with $EXIT_CODE"
}

# Types into the window with the focus (the program's input line once it is active).
type_text() { xdotool type --delay 15 -- "$1"; }
# Text outside the keyboard map (Japanese) replaces the line's text by pasting: xdotool's typing of such characters
# remaps a key for each one, which a busy window may read after the mapping has changed again.
paste_text() {
    "$TOOL" offer-clipboard "$1" 30 &
    STARTED+=("$!")
    clipboard_holds() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
    eventually 5 clipboard_holds "$1" || fail "could not put '$1' on the clipboard"
    press ctrl+a ctrl+v # in place of what the line holds
}
press() { xdotool key --delay 30 "$@"; }

# Settings file written as the program writes it: CR LF line ends.
write_ini() { printf '%s\r\n' "$@" >"$INI"; }
# The keys of one section of the settings file, one a line, in file order.
ini_keys() { # SECTION
    tr -d '\r' <"$INI" | awk -v s="[$1]" '
        /^\[/ { inside = ($0 == s); next }
        inside && /=/ { sub(/=.*/, ""); print }'
}
ini_value() { # SECTION KEY
    tr -d '\r' <"$INI" | awk -v s="[$1]" -v k="$2" '
        /^\[/ { inside = ($0 == s); next }
        inside && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }'
}
