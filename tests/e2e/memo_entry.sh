#!/usr/bin/env bash
# Japanese prose typed into the input line becomes a time-stamped memo entry: on disk once the
# program loses activation to another window, and a second entry once the program has quit.
. "$(dirname "$0")/lib.sh"
require_feature "uMultiMemo" "memo pane"
require_feature "ExecuteLine" "line dispatcher"
command -v xlogo >/dev/null || skip "xlogo (x11-apps) is needed as another window to switch to"

memo_has() { "$TOOL" decode "$MEMO" 2>/dev/null | grep -qF -- "$1"; }

start_program
wait_main_window
wait_state "$WIN" active
paste_text '今日は晴れ'
press Return

# Another program takes the activation.
xlogo -geometry 120x120+10+10 &
OTHER_PID=$!
STARTED+=("$OTHER_PID")
OTHER=$(timeout 10 xdotool search --sync --onlyvisible --class xlogo | head -n 1) ||
    fail "xlogo never appeared"
xdotool windowactivate "$OTHER" 2>/dev/null || true
wait_state "$WIN" inactive
eventually 5 memo_has '今日は晴れ' ||
    fail "no entry after deactivation: $("$TOOL" decode "$MEMO" 2>&1)"
"$TOOL" decode "$MEMO" | grep -E '[0-9]{1,2}:[0-9]{2}' | grep -qF '今日は晴れ' ||
    fail "the entry carries no time stamp: $("$TOOL" decode "$MEMO")"

# Back to the program, a second entry, then quit with the confirmation answered Yes.
xdotool windowactivate "$WIN" 2>/dev/null || true
wait_state "$WIN" active
press Escape # leave the memo pane's text alone: Esc hides the window
wait_state "$WIN" unmapped
"$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 || fail "second start failed"
wait_state "$WIN" active
paste_text '明日は雨'
press Return
quit_with_yes
"$TOOL" decode "$MEMO" | tr -d '\r' | grep -qE '\] 明日は雨$' ||
    fail "memo file lacks the entry made before quitting: $("$TOOL" decode "$MEMO")"
memo_has '今日は晴れ' || fail "the first entry was lost"
note "memo file: $("$TOOL" decode "$MEMO" | tr '\r\n' '  ')"
