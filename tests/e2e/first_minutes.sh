#!/usr/bin/env bash
# What a new user does in the first minutes: calls the bar up again and types over the line left
# from before, and clicks into the memo text and types there.
. "$(dirname "$0")/lib.sh"
require_feature "uMultiMemo" "memo pane"
require_feature "ExecuteLine" "line dispatcher"

write_ini "[Options]" "SetClipboard=True"
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
memo_has() { "$TOOL" decode "$MEMO" 2>/dev/null | grep -qF -- "$1"; }

start_program
wait_main_window
wait_state "$WIN" active

# A line left in the bar is selected when the bar comes back: typing replaces it.
type_text 'abc'
press Escape
wait_state "$WIN" unmapped
"$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 || fail "second start failed"
wait_state "$WIN" active
type_text '6*7'
press Return
eventually 5 clipboard_is 42 || fail "the old line was not replaced: clipboard '$("$TOOL" clipboard)'"

# A click into the memo text gives it the keys, whichever control had them before.
read -r _ _ _ collapsed < <("$TOOL" geometry "$WIN")
press ctrl+l
height_grew() {
    read -r _ _ WIDTH HEIGHT < <("$TOOL" geometry "$WIN")
    [ "$HEIGHT" -gt "$collapsed" ]
}
eventually 5 height_grew || fail "the memo pane did not open"
sleep 0.3
xdotool mousemove --window "$WIN" $((WIDTH / 2)) $((collapsed / 2)) click 1 # the input line
sleep 0.2
xdotool mousemove --window "$WIN" $((WIDTH / 2)) $((HEIGHT - 12)) click 1 # the memo text
sleep 0.2
type_text 'clicked'
quit_with_yes
memo_has 'clicked' || fail "the typing did not reach the memo: $("$TOOL" decode "$MEMO" 2>&1)"
note "memo file: $("$TOOL" decode "$MEMO" | tr '\r\n' '  ')"
