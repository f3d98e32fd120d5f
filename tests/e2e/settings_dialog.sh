#!/usr/bin/env bash
# Ctrl+O opens the settings dialog; screenshots of its three tabs are kept as artefacts
# (settings-general.png, settings-commands.png, settings-timers.png). Ticking 常に手前に表示する
# and OK writes TopMost=True and puts the bar above other windows; a start with /nohotkey shows the
# stored hotkey, which OK stores and registers; a command added on the command page runs from the
# input line right after OK.
. "$(dirname "$0")/lib.sh"
require_feature "frmProperty::" "settings dialog"
command -v import >/dev/null || skip "import (ImageMagick) is needed for the screenshots"

has_state() { "$TOOL" state "$WIN" | grep -qx "$1"; }
clipboard_is() { [ "$("$TOOL" clipboard 2>/dev/null)" = "$1" ]; }
open_dialog() {
    press ctrl+o
    DLG=$("$TOOL" dialog "$PID" "$WIN" 10000) || fail "Ctrl+O opened no dialog"
    wait_state "$DLG" active
}
shoot() { # NAME
    sleep 0.4 # let the page paint
    local shot="$ARTIFACTS/settings-$1.png"
    import -window "$DLG" "$shot" || fail "screenshot of the $1 tab failed"
    local colours
    colours=$(identify -format '%k' "$shot")
    [ "$colours" -gt 8 ] || fail "the $1 tab's screenshot is blank ($colours colours)"
    note "screenshot $shot: $(identify -format '%wx%h' "$shot"), $colours colours"
}

write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False" "UnresidentInfo=False" \
    "HotKeyMask=3" "HotKey=65"
start_program /nohotkey
wait_main_window
wait_state "$WIN" active

open_dialog
shoot general
press ctrl+Tab
shoot commands
press ctrl+Tab
shoot timers
press ctrl+Tab # back to the general page (on the timer page Alt+T is another option)
sleep 0.5
press alt+t    # 常に手前に表示する(&T)
sleep 0.2
press Return   # OK is the default button
wait_state "$DLG" unmapped
[ "$(ini_value Options TopMost)" = True ] || fail "TopMost is '$(ini_value Options TopMost)' after OK"
eventually 5 has_state _NET_WM_STATE_ABOVE || fail "OK did not put the window above others"
wait_state "$WIN" active # the input line has the keyboard again
[ "$(ini_value Options HotKeyMask),$(ini_value Options HotKey)" = 3,65 ] || fail "the hotkey was not stored"

open_dialog
press ctrl+Tab # the general page was confirmed with OK; the commands page is next
sleep 0.5
press alt+n
type_text 'double'
press alt+c
type_text 'dbl'
press alt+t
type_text '%a*2'
press Return # adds (the edit boxes make 追加/置換 the default button)
sleep 0.2
press Return # the list has the focus now: OK
wait_state "$DLG" unmapped
[ "$(ini_value Command dbl)" = 'double,%a*2' ] || fail "the command was not saved: '$(ini_value Command dbl)'"
wait_state "$WIN" active
type_text 'dbl 21'
press Return
eventually 5 clipboard_is 42 || fail "'dbl 21' gave '$("$TOOL" clipboard 2>/dev/null)'"

press ctrl+alt+a # registered by OK, although the run started without a hotkey
wait_state "$WIN" unmapped
