#!/usr/bin/env bash
# The desktop's shortcut (the portal's Activated) calls the hidden bar up with the focus in the
# input line, while another program had the focus; a calculation typed then runs; the next press
# sends the bar away.
. "$(dirname "$0")/lib.sh"

start_bare_window
eventually 5 is_focused bare || fail "the other program never got the focus"
start_fake_portal --trigger "LOGO+Z"
write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False"
start_program /tray
calls_include() { portal Calls | grep -q "\"$1"; }
eventually 10 calls_include ListShortcuts || fail "the program never bound its shortcut: $(portal Calls)"
portal Calls | grep -q '"CreateSession shortcuts=show-hide:LOGO+Z session_handle_token=scrivlet"' ||
    fail "the session was not made with the fixed token and the key: $(portal Calls)"
sleep 0.3
is_unmapped scrivlet || fail "a /tray start with a shortcut showed its window"

press_shortcut "$(activation_token)"
eventually 5 is_focused scrivlet || fail "the bar did not get the focus: $(focused_app) has it"
type_line '6*7'
eventually 5 clipboard_is 42 || fail "the clipboard holds '$(wl-paste --no-newline 2>/dev/null)'"
note "the shortcut calls the bar up with the focus in the input line"

press_shortcut
eventually 5 is_unmapped scrivlet || fail "the second press did not hide the bar"
eventually 5 is_focused bare || fail "the focus did not go back to the other program"

press_shortcut "$(activation_token)"
eventually 5 is_focused scrivlet || fail "called up again, the bar did not get the focus"
type_line '1+2'
eventually 5 clipboard_is 3 || fail "the second time the input line did not have the focus"
note "the next press hides it, the one after shows it focused again"
