#!/usr/bin/env bash
# A line that starts a program enters the history; ending the program asks first (No keeps it
# running), and once answered Yes the section "MRU" holds the line.
. "$(dirname "$0")/lib.sh"
require_feature "ExecuteLine" "line dispatcher"
require_feature "CMRUCombo" "history"

# A small program on PATH for the line to start; it leaves a mark.
cat >"$WORK/bin/e2emark" <<MARK
#!/bin/sh
touch "$WORK/marked"
MARK
chmod +x "$WORK/bin/e2emark"

write_ini "[Options]" "HideAfterRun=False"
start_program
wait_main_window
wait_state "$WIN" active

type_text 'e2emark'
press Return
eventually 5 test -e "$WORK/marked" || fail "the line did not start the program"

press alt+F4
BOX=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no exit confirmation appeared"
wait_state "$BOX" active
press n
wait_state "$BOX" unmapped
sleep 0.3
kill -0 "$PID" 2>/dev/null || fail "answering No ended the program"

xdotool windowactivate "$WIN" 2>/dev/null || true
wait_state "$WIN" active
quit_with_yes
[ "$(ini_keys MRU | tr '\n' ' ')" = "1 " ] || fail "MRU holds: $(ini_keys MRU | tr '\n' ' ')"
[ "$(ini_value MRU 1)" = e2emark ] || fail "MRU 1 is '$(ini_value MRU 1)'"
