#!/usr/bin/env bash
# Quitting through the window's own menu (right click on the title strip, 終了, はい) ends the
# program cleanly: exit code 0, no sanitizer report, and the memo typed before it is on disk.
. "$(dirname "$0")/lib.sh"
require_feature "uMultiMemo" "memo pane"
require_feature "ExecuteLine" "line dispatcher"

start_program
wait_main_window
wait_state "$WIN" active

# An entry moves the focus into the memo pane: its focus signals then fire while the window is
# taken apart.
paste_text '終了前のメモ'
press shift+Return
sleep 0.3

xdotool mousemove --window "$WIN" 3 8 click 3
sleep 0.5 # the menu is an unmanaged popup: nothing to wait for but time
press x   # 終了(&X)
BOX=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no exit confirmation appeared"
wait_state "$BOX" active
press y
wait_exit
grep -q "Sanitizer" "$WORK/program.log" && fail "sanitizer report while quitting"
[ "$EXIT_CODE" = 0 ] || fail "the program ended with $EXIT_CODE"
"$TOOL" decode "$MEMO" | grep -qF '終了前のメモ' ||
    fail "the memo entry was lost: $("$TOOL" decode "$MEMO" 2>&1)"
note "quit through the menu with code 0"
