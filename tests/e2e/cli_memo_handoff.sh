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

start_program
wait_main_window
wait_state "$WIN" active
cli '端末から 送ったメモ' || fail "cli hand-off failed: $(cat "$WORK/cli.log")"
memo_has '端末から 送ったメモ' || fail "the handed-over line is not on disk when the cli returns"

paste_text '窓からのメモ'
press shift+Return # AddMemo: files the line as it stands
press alt+F4
BOX=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "no exit confirmation appeared"
wait_state "$BOX" active
press y
wait_exit
for entry in '窓のない時の メモ' '端末から 送ったメモ' '窓からのメモ'; do
    memo_has "$entry" || fail "lost '$entry': $("$TOOL" decode "$MEMO")"
done
