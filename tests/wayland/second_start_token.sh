#!/usr/bin/env bash
# A second start hands its launcher's activation token to the resident bar, which takes the focus
# from the program that had it; without a token the compositor leaves the focus where it is.
. "$(dirname "$0")/lib.sh"

start_bare_window
eventually 5 is_focused bare || fail "the other program never got the focus"
start_fake_portal
write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False"
start_program
eventually 10 is_mapped scrivlet || fail "the first start showed no bar"
sleep 0.5
is_focused bare || fail "the bar took the focus without a token; the bed does not test tokens"

"$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 || fail "a second start without a token failed"
sleep 0.5
is_focused bare || fail "without a token the bar still took the focus"

XDG_ACTIVATION_TOKEN=$(activation_token) "$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 ||
    fail "the second start with a token exited with $?"
eventually 5 is_focused scrivlet || fail "the resident bar did not get the focus: $(focused_app) has it"
type_line '7*6'
eventually 5 clipboard_is 42 || fail "the clipboard holds '$(wl-paste --no-newline 2>/dev/null)'"
note "the token of a second start gives the resident bar the focus"

# The leak checker runs on this start (sanitizer builds): a hand-off ends cleanly.
ASAN_OPTIONS=detect_leaks=1 "$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 ||
    fail "a second start exited with $? (a leak report above?)"
