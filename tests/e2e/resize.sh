#!/usr/bin/env bash
# The bar has no frame, so it brings its own resize edges: a drag on the right edge widens it, a
# drag far to the left stops at the minimum width (3000 twips), and the collapsed bar cannot be
# made taller.
. "$(dirname "$0")/lib.sh"
require_feature "CLimitForm::" "size limiter"

start_program
wait_main_window
wait_state "$WIN" active
read -r x y w h < <("$TOOL" geometry "$WIN")
note "window at $x,$y ${w}x$h"

drag() { # FROM_X FROM_Y TO_X TO_Y
    xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.1 mousemove "$3" "$4" sleep 0.2 \
        mousemove "$3" "$4" sleep 0.1 mouseup 1 sleep 0.3
}
width_is() { read -r _ _ now _ < <("$TOOL" geometry "$WIN"); [ "$now" -eq "$1" ]; }
width_near() { read -r _ _ now _ < <("$TOOL" geometry "$WIN"); [ "$now" -ge "$1" ] && [ "$now" -le "$2" ]; }

edge=$((x + w - 2))
drag "$edge" "$((y + h / 2))" "$((edge + 150))" "$((y + h / 2))"
eventually 3 width_near "$((w + 140))" "$((w + 160))" ||
    fail "the drag on the right edge did not widen the window (width $now, was $w)"
wide=$now
note "wider: $wide"

# 3000 twips at the screen's 96 dpi: 200 px.
edge=$((x + wide - 2))
drag "$edge" "$((y + h / 2))" "$((x - 400))" "$((y + h / 2))"
eventually 3 width_is 200 || fail "the window is $now wide, not the minimum 200"
note "the minimum width holds"

read -r _ _ _ tall < <("$TOOL" geometry "$WIN")
drag "$((x + 100))" "$((y + tall - 2))" "$((x + 100))" "$((y + tall + 200))"
read -r _ _ _ after < <("$TOOL" geometry "$WIN")
[ "$after" -eq "$tall" ] || fail "the collapsed bar changed its height from $tall to $after"
note "the collapsed bar keeps its height"
