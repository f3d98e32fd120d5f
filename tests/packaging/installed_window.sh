#!/usr/bin/env bash
# The installed program as a desktop sees it: started from its desktop entry, its window's
# WM_CLASS is the entry's StartupWMClass (docks and task bars group it under the entry), F1 opens
# the guide installed in share/doc/scrivlet/, and the settings go to ~/.config/scrivlet/, never
# beside the program.
. "$(dirname "$0")/../e2e/lib.sh"
command -v xprop >/dev/null || skip "xprop (x11-utils) is needed"
[ -f "${SCRIVLET_BUILD_DIR:-}/cmake_install.cmake" ] || skip "no configured build folder"

ROOT=$WORK/root
DESTDIR=$ROOT cmake --install "$SCRIVLET_BUILD_DIR" --prefix /usr >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
installed_bin() { ls "$ROOT/usr/bin" | tr '\n' ' '; }
[ "$(installed_bin)" = "scrivlet scrivlet-cli " ] || fail "bin/ holds: $(installed_bin)"

# Text files open with a program that only notes what it was given.
cat >"$WORK/bin/guide-viewer" <<VIEWER
#!/bin/sh
printf '%s\n' "\$@" >"$WORK/viewed.tmp" && mv "$WORK/viewed.tmp" "$WORK/viewed"
VIEWER
chmod +x "$WORK/bin/guide-viewer"
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Guide Viewer\nExec=%s %%f\nMimeType=text/plain;\n' \
    "$WORK/bin/guide-viewer" >"$XDG_DATA_HOME/applications/guide-viewer.desktop"
printf '[Default Applications]\ntext/plain=guide-viewer.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"

# Started the way an application menu starts it: GIO runs the desktop entry's Exec line, which
# finds the program on PATH.
export PATH="$ROOT/usr/bin:$PATH" XDG_DATA_DIRS="$ROOT/usr/share:${XDG_DATA_DIRS:-/usr/share}"
gio launch "$ROOT/usr/share/applications/scrivlet.desktop" >>"$WORK/program.log" 2>&1 ||
    fail "gio could not launch the desktop entry"
installed_process() {
    local p
    for p in $(pgrep -x scrivlet); do
        if [ "$(readlink "/proc/$p/exe")" = "$ROOT/usr/bin/scrivlet" ]; then
            PID=$p
            return 0
        fi
    done
    return 1
}
eventually 10 installed_process || fail "launching the desktop entry started no installed scrivlet"
STARTED+=("$PID")
wait_main_window
wait_state "$WIN" active

wm_class=$(xprop -id "$WIN" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
entry_class=$(sed -n 's/^StartupWMClass=//p' "$ROOT/usr/share/applications/scrivlet.desktop")
[ -n "$wm_class" ] && [ "$wm_class" = "$entry_class" ] ||
    fail "WM_CLASS class '$wm_class' is not the desktop entry's StartupWMClass '$entry_class'"

press F1
eventually 10 test -e "$WORK/viewed" || fail "F1 opened no guide"
[ "$(cat "$WORK/viewed")" = "$ROOT/usr/share/doc/scrivlet/ReadMe.txt" ] ||
    fail "F1 opened '$(cat "$WORK/viewed")', not the installed guide"

kill "$PID"
wait_exit
[ -f "$XDG_CONFIG_HOME/scrivlet/scrivlet.ini" ] || fail "no settings file in \$XDG_CONFIG_HOME/scrivlet/"
[ "$(installed_bin)" = "scrivlet scrivlet-cli " ] || fail "the program wrote beside itself: $(installed_bin)"
