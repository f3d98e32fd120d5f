#!/usr/bin/env bash
# First start in a folder without settings: the window comes up centred with the focus, and the
# settings file then holds the repaired "Options" (13 keys) and "Position" (4 keys).
. "$(dirname "$0")/lib.sh"

[ ! -e "$INI" ] || fail "the program folder is not fresh"
start_program
wait_main_window
wait_state "$WIN" active

read -r x _ width _ < <("$TOOL" geometry "$WIN")
screen_width=$(xdpyinfo | awk '/dimensions:/ && !done { split($2, d, "x"); print d[1]; done = 1 }')
centre_offset=$((x + width / 2 - screen_width / 2))
[ "${centre_offset#-}" -le 2 ] || fail "window not centred: x=$x width=$width screen=$screen_width"

kill -TERM "$PID"
wait_exit
[ -f "$INI" ] || fail "no settings file was written"
options=$(ini_keys Options | sort | tr '\n' ' ')
expected="HideAfterRun HotKey HotKeyMask IMEState IfVoidThenHide MRU MemoFileName NoTray SetClipboard ShowErrMsg StartUpTray TopMost UnresidentInfo "
[ "$options" = "$expected" ] || fail "Options holds: $options"
position=$(ini_keys Position | tr '\n' ' ')
[ "$position" = "Width Height Left Top " ] || fail "Position holds: $position"
[ "$(ini_value Options HotKey)" = 90 ] && [ "$(ini_value Options HotKeyMask)" = 8 ] ||
    fail "default hotkey not Windows+Z"
note "window $WIN at x=$x width=$width; Options 13 keys, Position 4 keys"
