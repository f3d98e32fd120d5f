#!/usr/bin/env bash
# A tray host that starts after the program (as at login) gets the icon, and its menu is the
# program's own, drawn by the host from dbusmenu.
. "$(dirname "$0")/lib.sh"

write_ini "[Options]" "HideAfterRun=False"
start_program
eventually 10 is_mapped scrivlet || fail "the program showed no bar"
sleep 0.5
"$SCRIVLET_FAKE_TRAY_HOST" >>"$WORK/host.log" 2>&1 &
STARTED+=("$!")

watcher_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -o '"[^"]*"' | tr -d '"'
}
has_item() { [ -n "$(watcher_items)" ]; }
eventually 10 has_item || fail "the icon never registered with the tray host that came later"
item=$(watcher_items | head -n1)
service=${item%%/*}
path=/${item#*/}
menu=$(dbus-send --session --print-reply --dest="$service" "$path" org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem string:Menu | grep -o 'object path "[^"]*"' | cut -d'"' -f2)
[ -n "$menu" ] && [ "$menu" != /NO_DBUSMENU ] || fail "the icon offers the host no menu ('$menu')"
dbus-send --session --print-reply --dest="$service" "$menu" com.canonical.dbusmenu.AboutToShow \
    int32:0 >/dev/null
labels=$(dbus-send --session --print-reply --dest="$service" "$menu" com.canonical.dbusmenu.GetLayout \
    int32:0 int32:-1 array:string:label | grep -o 'string "[^"]*"' | cut -d'"' -f2 | grep -v '^label$')
for item in 表示 設定 ヘルプ 終了; do
    grep -q "$item" <<<"$labels" || fail "the host's menu lacks '$item': $(tr '\n' ' ' <<<"$labels")"
done
note "the host's menu: $(tr '\n' ' ' <<<"$labels")"
