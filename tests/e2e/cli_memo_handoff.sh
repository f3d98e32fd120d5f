#!/usr/bin/env bash
# scrivlet-cli and a running window share one memo file without losing each other's entries: the
# cli hands its prose line to the window, the window files its own, and after quitting the file
# holds both. Without a window the cli writes the file itself. (The cli's lines hold a blank so
# that they are no script whatever the engine makes of Japanese words.)
. "$(dirname "$0")/lib.sh"
[ -n "${SCRIVLET_CLI:-}" ] && [ -x "$SCRIVLET_CLI" ] || skip "scrivlet-cli is not built"
require_feature "uMultiMemo" "memo pane"
require_feature "ExecuteLine" "line dispatcher"
cp "$SCRIVLET_CLI" "$PROGRAM_DIR/scrivlet-cli"

memo_has() { "$TOOL" decode "$MEMO" 2>/dev/null | grep -qF -- "$1"; }
cli() { "$PROGRAM_DIR/scrivlet-cli" --dir "$PROGRAM_DIR" "$@" >>"$WORK/cli.log" 2>&1; }

cli '窓のない時の メモ' || fail "cli without a window failed: $(cat "$WORK/cli.log")"
memo_has '窓のない時の メモ' || fail "cli did not write the memo file itself"
cli --memo '買い物 ★' 'パンを 買う' || fail "cli --memo without a window failed"
memo_has 'Title:買い物 ★' || fail "cli --memo did not make the titled memo: $("$TOOL" decode "$MEMO")"

start_program
wait_main_window
wait_state "$WIN" active
cli '端末から 送ったメモ' || fail "cli hand-off failed: $(cat "$WORK/cli.log")"
memo_has '端末から 送ったメモ' || fail "the handed-over line is not on disk when the cli returns"
cli --memo '会議' '端末から 会議の メモ' || fail "cli --memo hand-off failed: $(cat "$WORK/cli.log")"
"$TOOL" decode "$MEMO" | tr -d '\r' | sed -n '/^Title:会議$/,$p' | grep -qF '端末から 会議の メモ' ||
    fail "the line for 会議 is not in its memo when the cli returns: $("$TOOL" decode "$MEMO")"
# Finding while the window runs: what the window filed is there, newest first.
FOUND=$("$PROGRAM_DIR/scrivlet-cli" --dir "$PROGRAM_DIR" --find 'ぱんを') ||
    fail "cli --find found nothing"
printf '%s\n' "$FOUND" | grep -qE '^買い物 ★	\[[0-9/ :]+\] パンを 買う$' ||
    fail "cli --find printed: $FOUND"
status=0
"$PROGRAM_DIR/scrivlet-cli" --dir "$PROGRAM_DIR" --find '存在しない' >/dev/null || status=$?
[ "$status" = 1 ] || fail "cli --find without a match exited $status, not 1"

paste_text '窓からのメモ'
press shift+Return # AddMemo: files the line as it stands
quit_with_yes
for entry in '窓のない時の メモ' '端末から 送ったメモ' '窓からのメモ' 'パンを 買う' '端末から 会議の メモ'; do
    memo_has "$entry" || fail "lost '$entry': $("$TOOL" decode "$MEMO")"
done
