#!/usr/bin/env bash
# Against the real desktop stack, headless on the private bus: xdg-desktop-portal with KDE's
# backend and shortcut daemon. The program's shortcut lands in the daemon under the session's
# fixed name; the daemon's press (invokeShortcut, as its key grab would) calls the bar up and,
# the next time, sends it away.
. "$(dirname "$0")/lib.sh"

kde_backend=/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
for program in kglobalaccel5 /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-permission-store \
    "$kde_backend"; do
    command -v "$program" >/dev/null || fail "$program is missing: run scripts/deps.sh test"
done
export XDG_CURRENT_DESKTOP=KDE
# The KDE parts are Qt 5 programs without a Wayland platform here; they draw nothing in this
# test. The daemon finds no key-grab plugin without KWin, which the press through D-Bus does not
# need.
QT_QPA_PLATFORM=offscreen kglobalaccel5 >>"$WORK/kglobalaccel.log" 2>&1 &
STARTED+=("$!")
/usr/libexec/xdg-permission-store --replace >>"$WORK/permission-store.log" 2>&1 &
STARTED+=("$!")
QT_QPA_PLATFORM=offscreen "$kde_backend" >>"$WORK/portal-kde.log" 2>&1 &
STARTED+=("$!")
eventually 10 bus_has org.freedesktop.impl.portal.desktop.kde || fail "KDE's portal backend did not start"
eventually 10 bus_has org.kde.kglobalaccel || fail "kglobalaccel did not start"
/usr/libexec/xdg-desktop-portal --replace >>"$WORK/portal.log" 2>&1 &
STARTED+=("$!")
eventually 10 bus_has org.freedesktop.portal.Desktop || fail "xdg-desktop-portal did not start"

write_ini "[Options]" "SetClipboard=True" "HideAfterRun=False"
start_program /tray
kglobalaccel() { # PATH METHOD [ARGUMENTS...]
    local path=$1 method=$2
    shift 2
    dbus-send --session --print-reply --dest=org.kde.kglobalaccel "$path" "$method" "$@"
}
bound() {
    kglobalaccel /component/scrivlet org.kde.kglobalaccel.Component.shortcutNames 2>/dev/null |
        grep -q '"show-hide"'
}
eventually 15 bound || fail "the shortcut never reached kglobalaccel: $(kglobalaccel /kglobalaccel \
    org.kde.KGlobalAccel.allComponents 2>&1 | tr -s ' \n' ' ')"
sleep 0.3
is_unmapped scrivlet || fail "a /tray start with a bound shortcut showed a window (a warning?)"

press() {
    kglobalaccel /component/scrivlet org.kde.kglobalaccel.Component.invokeShortcut \
        string:show-hide >/dev/null
}
press
eventually 5 is_focused scrivlet || fail "the daemon's press did not call the bar up: $(focused_app)"
type_line '6*7'
eventually 5 clipboard_is 42 || fail "the clipboard holds '$(wl-paste --no-newline 2>/dev/null)'"
press
eventually 5 is_unmapped scrivlet || fail "the second press did not hide the bar"
note "KDE's portal and kglobalaccel drive the bar like the X11 hotkey"
