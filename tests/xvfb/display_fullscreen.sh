#!/bin/sh
# Full screen on a real X server that is wider than the picture: the 640 x 480 picture fills
# the height, keeps its aspect with black bars left and right, and the mouse reaches the game
# in picture coordinates. SIGINT reaches the game as one terminate request.
# Arguments: the build folder (and the fixtures folder, unused).
set -u
. "$(dirname "$0")/lib/common.sh"
xvfb_reexec 1024x480x24 "$0" "$@"
build=$1
bin=$build/tests
out=$(mktemp)
trap 'kill "$pid" 2>/dev/null; rm -f "$out"' EXIT

env -u SDL_VIDEODRIVER "$bin/display_probe" fullscreen >"$out" 2>&1 &
pid=$!
wait_for 'has_line "ready real=1"'

# The picture spans x 192 to 831: left half (200, 40, 10), right half (10, 40, 200).
wait_for '[ "$("$bin/xpixel" 300 240)" = "200 40 10" ]'
[ "$("$bin/xpixel" 700 240)" = "10 40 200" ] || fail "right half of the picture"
[ "$("$bin/xpixel" 50 240)" = "0 0 0" ] || fail "left bar"
[ "$("$bin/xpixel" 1000 240)" = "0 0 0" ] || fail "right bar"

wid=$(xdotool search --name "^Corvel Probe\$" | head -n 1)
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool mousemove 292 50 click 1
wait_for 'has_line "event 1026 1 100 50"'
xdotool key Escape
wait_for 'has_line "event 513 27 0 0"'

kill -INT "$pid"
wait_for '! kill -0 "$pid" 2>/dev/null'
[ "$(grep -c "^event 259 " "$out")" -eq 1 ] || fail "one terminate request for SIGINT"
echo "display full screen: ok"
