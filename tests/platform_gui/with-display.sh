#!/bin/sh
# Runs a test binary on the X display when one answers, offscreen otherwise (the X11 tests in it
# then skip themselves).
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
fi
exec "$@"
