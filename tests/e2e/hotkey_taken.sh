#!/usr/bin/env bash
# Another program holds Windows+Z: the start warns that the hotkey could not be registered, and
# the window still comes up for a /tray start, since nothing else could call it back.
. "$(dirname "$0")/lib.sh"
require_feature "CHotKey::" "global hotkey"

"$TOOL" grab-key 0x40 7a 30 >"$WORK/grab.out" 2>&1 &
STARTED+=("$!")
eventually 5 grep -q grabbed "$WORK/grab.out" || fail "could not hold the key: $(cat "$WORK/grab.out")"

write_ini "[Options]" "NoTray=True"
start_program /tray
box=$("$TOOL" dialog "$PID" 0 10000) || fail "no warning box appeared"
note "warning box $box: $(xprop -id "$box" WM_NAME 2>/dev/null | cut -d= -f2)"
xprop -id "$box" WM_NAME 2>/dev/null | grep -q '"Scrivlet"' || fail "the box is not the program's"
xdotool windowactivate --sync "$box" 2>/dev/null || true
press Return
wait_main_window
wait_state "$WIN" viewable
note "the window is shown: neither the hotkey nor a tray icon could call it back"
