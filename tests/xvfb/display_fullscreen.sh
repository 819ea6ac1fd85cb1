#!/bin/sh
# Full screen on a real X server that is wider than the picture: the 640 x 480 picture fills
# the height, keeps its aspect with black bars left and right, and the mouse reaches the game
# in picture coordinates. SIGINT reaches the game as one terminate request.
# Arguments: the build folder (and the fixtures folder, unused).
set -u
if [ "${XVFB_INNER:-}" != 1 ]; then
  XVFB_INNER=1 exec xvfb-run -a -s "-screen 0 1024x480x24" sh "$0" "$@"
fi
build=$1
bin=$build/tests
out=$(mktemp)
trap 'kill "$pid" 2>/dev/null; rm -f "$out"' EXIT

fail() {
  echo "FAILED: $1"
  echo "--- probe output:"
  cat "$out"
  exit 1
}

# Polls a condition every 20 ms for at most 10 s.
wait_for() {
  tries=0
  until eval "$1"; do
    tries=$((tries + 1))
    [ "$tries" -gt 500 ] && fail "timed out waiting for: $1"
    sleep 0.02
  done
}

has_line() { grep -qx "$1" "$out"; }

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
