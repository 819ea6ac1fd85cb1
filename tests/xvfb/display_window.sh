#!/bin/sh
# The game window on a real X server: its title, a frame on screen with the menu strip above
# the canvas, keys (and held keys) and mouse buttons with their codes, menus chosen by mouse and by Alt, and
# exactly one window-close event for one close request.
# Arguments: the build folder (and the fixtures folder, unused).
set -u
. "$(dirname "$0")/lib/common.sh"
xvfb_reexec 640x480x24 "$0" "$@"
build=$1
bin=$build/tests
out=$(mktemp)
trap 'kill "$pid" 2>/dev/null; rm -f "$out"' EXIT

env -u SDL_VIDEODRIVER "$bin/display_probe" window >"$out" 2>&1 &
pid=$!
wait_for 'has_line "ready real=1"'

wid=""
wait_for 'wid=$(xdotool search --name "^Corvel Probe\$" 2>/dev/null | head -n 1); [ -n "$wid" ]'
[ "$(xdotool getwindowname "$wid")" = "Corvel Probe" ] || fail "window title"

# Canvas left half (200, 40, 10), right half (10, 40, 200), the menu strip above it.
wait_for '[ "$("$bin/xpixel" 100 200)" = "200 40 10" ]'
[ "$("$bin/xpixel" 500 200)" = "10 40 200" ] || fail "right half of the canvas"
[ "$("$bin/xpixel" 600 10)" = "212 208 200" ] || fail "menu strip"

xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --delay 20 a F1 Return shift+b KP_7
wait_for 'has_line "event 514 103 0 0"'
for line in "event 513 65 0 0" "event 514 65 0 0" "event 513 112 0 0" "event 513 13 0 0" \
            "event 513 160 0 0" "event 513 66 0 0" "event 513 103 0 0"; do
  has_line "$line" || fail "missing: $line"
done

# A held key repeats with its own id: one key down, repeats, one key up.
xdotool keydown z
wait_for 'has_line "event 515 90 0 0"'
xdotool keyup z
wait_for 'has_line "event 514 90 0 0"'
[ "$(grep -c "^event 513 90 " "$out")" -eq 1 ] || fail "one key down for a held key"

# A right click on the canvas, in canvas coordinates (the strip is 20 pixels high).
xdotool mousemove 300 220 click 3
wait_for 'has_line "event 1026 2 300 200"'
has_line "event 1025 2 300 200" || fail "right button down"

# Mouse: open "Game", choose its second entry; keyboard: Alt+H, Return.
xdotool mousemove 10 10 click 1
xdotool mousemove 20 51 click 1
wait_for 'has_line "event 32769 101 0 0"'
xdotool key alt+h Return
wait_for 'has_line "event 32769 201 0 0"'

"$bin/xclose" "$wid"
wait_for '! kill -0 "$pid" 2>/dev/null'
closes=$(grep -c "^event 16387 " "$out")
[ "$closes" -eq 1 ] || fail "expected one window close, got $closes"
grep -q "^event 259 " "$out" && fail "a window close must not ask to terminate"
echo "display window: ok"
