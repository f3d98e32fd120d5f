#!/usr/bin/env bash
# Two expressions in one line: the input line shows their results joined by " |", read back
# through the clipboard (SetClipboard on), and the window stays up.
. "$(dirname "$0")/lib.sh"
require_feature "CEval::" "script evaluator"
require_feature "ExecuteLine" "line dispatcher"

write_ini "[Options]" "SetClipboard=True"
start_program
wait_main_window
wait_state "$WIN" active

type_text '1+1|2*3'
press Return
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
eventually 5 clipboard_is '2 |6' || fail "clipboard holds '$("$TOOL" clipboard 2>/dev/null)'"
wait_state "$WIN" viewable
note "input line shows '2 |6'"
