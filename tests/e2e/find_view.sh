#!/usr/bin/env bash
# Ctrl+F finds the input line's text in every memo, as a Japanese user types it: the query
# narrows as the line changes, Enter shows the line in its memo, selected (what is pasted next
# replaces exactly that line), Esc gives back the input line and leaves the window up. Nothing
# is written by finding itself.
. "$(dirname "$0")/lib.sh"
require_feature "MemoFindView" "find view"

memo_text() { "$TOOL" decode "$MEMO" 2>/dev/null | tr -d '\r'; }
# Pastes over the selection (paste_text selects the whole field first).
paste_over_selection() {
    "$TOOL" offer-clipboard "$1" 30 &
    STARTED+=("$!")
    clipboard_holds() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
    eventually 5 clipboard_holds "$1" || fail "could not put '$1' on the clipboard"
    press ctrl+v
}

printf '%s\r\n' 'Title:買い物' 'Last-Modified:2026-12-04' 'CursorPos:0' '' \
    '[2026/12/01 09:00:00] ﾊﾟﾝと牛乳' '[2026/12/04 09:00:00] パン屋「ｶﾌｪ」へ' '.' \
    'Title:連絡' 'Last-Modified:2026-12-03' 'CursorPos:0' '' \
    '田中さん 090−1234' '[2026/12/03 09:00:00] ぱんの 件 😀' 'last line' >"$MEMO"
BEFORE=$(md5sum <"$MEMO")

start_program
wait_main_window
wait_state "$WIN" active

# Find, narrow to one line, Esc: the window stays, the file is untouched.
paste_text 'パン'
press ctrl+f
paste_text 'パンの'
press Escape
sleep 0.3
"$TOOL" wait "$WIN" active 1000 || fail "Esc closed the window instead of the find view"
[ "$(md5sum <"$MEMO")" = "$BEFORE" ] || fail "finding changed the memo file: $(memo_text)"

# The input line is given back as it was when the view opened: Shift+Enter files it as it
# stands, into the memo shown before (the first); Esc in the pane then hides the window, which
# saves.
press shift+Return
press Escape
wait_state "$WIN" unmapped
first_memo_has_entry() { memo_text | sed -n '1,/^\.$/p' | grep -qE '\] パン$'; }
eventually 5 first_memo_has_entry || fail "Esc did not give back the input line: $(memo_text)"

# Find again (newest first: the entry just filed, パン屋, ぱんの 件, ﾊﾟﾝ), move to the third and
# Enter: the second memo's line is selected, and pasting replaces exactly it.
"$PROGRAM_DIR/scrivlet" >>"$WORK/program.log" 2>&1 || fail "second start failed"
wait_state "$WIN" active
paste_text 'ぱん'
press ctrl+f Down Down Down Up Return
paste_over_selection '電話した 件'
press Escape # hides the window, which saves the pane
wait_state "$WIN" unmapped
second_memo_done() {
    memo_text | sed -n '/^Title:連絡$/,$p' | grep -qxF '電話した 件'
}
eventually 5 second_memo_done || fail "the found line was not the one selected: $(memo_text)"
memo_text | grep -qF 'ぱんの 件' && fail "the old line is still there: $(memo_text)"
memo_text | grep -qxF 'last line' || fail "the line after it was touched: $(memo_text)"
memo_text | grep -qF 'パン屋「ｶﾌｪ」へ' || fail "the first memo lost a line: $(memo_text)"
note "memo file: $(memo_text | tr '\n' ' ')"
