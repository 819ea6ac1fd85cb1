#!/bin/sh
# Plays the demo quest in the real program under Xvfb: a new game from the title, a walk
# over the rune on the path, a talk with the elder (text box and question), the trip to the
# forest, and the way out through the exit question. The scripts print what happened and
# the screen's pixels show it. Arguments: build folder, fixtures folder (unused).
set -u
. "$(dirname "$0")/lib/common.sh"
xvfb_reexec 1280x800x24 "$0" "$@"
build=$1
tmp=$(mktemp -d)
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
out="$tmp/out.txt"

[ -f "$build/Resources/Maps/village.map" ] || fail "no demo quest in $build/Resources"
make_game_tree "$tmp" "$(cd "$build/Resources" && pwd)"
user="$tmp/home/Documents/Corvel User Data"

HOME="$tmp/home" SDL_VIDEODRIVER=x11 line_buffered "$tmp/bin/corvel" >"$out" 2>&1 &
game_pid=$!

# Waits for a line the scripts print; fails at once when the game has ended.
wait_log() {
  echo "waiting for $1"
  wait_for "has_line '$1' || ! kill -0 $game_pid 2>/dev/null"
  has_line "$1" || fail "the game ended without printing '$1'"
}
# The colour of a pixel of the game picture (640 x 480, from its top-left corner).
pixel() { "$build/tests/xpixel" $((origin_x + $1)) $((origin_y + $2)); }
# True when the pixel at X Y is within 12 of R G B in every channel.
pixel_near() {
  set -- "$@" $(pixel "$1" "$2")
  dr=$(($6 - $3)); dg=$(($7 - $4)); db=$(($8 - $5))
  [ ${dr#-} -le 12 ] && [ ${dg#-} -le 12 ] && [ ${db#-} -le 12 ]
}
# Waits until the pixel at X Y shows about R G B; the last argument names what it shows.
wait_pixel() {
  echo "waiting for $6"
  deadline=$(( $(date +%s) + 60 ))
  until pixel_near "$1" "$2" "$3" "$4" "$5"; do
    [ "$(date +%s)" -gt "$deadline" ] && fail "$6: pixel ($1, $2) is $(pixel "$1" "$2"), not $3 $4 $5"
    sleep 0.02
  done
}

wait_log "E2E setup"
wid=""
wait_for 'wid=$(xdotool search --name "^Corvel v1\\.0a - " 2>/dev/null | head -n 1); [ -n "$wid" ]'
# The picture fills the bottom 640 x 480 of the window, below its menu strip (which may be
# added after the window is mapped).
wait_for 'xdotool getwindowgeometry "$wid" | grep -q "Geometry: 640x5"'
geometry=$(xdotool getwindowgeometry "$wid")
origin_x=$(echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),.*/\1/p')
top=$(echo "$geometry" | sed -n 's/.*Position: [-0-9]*,\([-0-9]*\).*/\1/p')
height=$(echo "$geometry" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
origin_y=$((top + height - 480))
xdotool windowfocus --sync "$wid" 2>/dev/null

# The title's first entry starts a new game; the startup script goes to the village,
# where the rune on the path (column 4, row 6) glows cyan.
xdotool key Return
wait_log "E2E startup"
wait_log "E2E village entered"
wait_pixel 144 208 140 255 255 "the glowing rune"

# Walking right onto the rune runs its touch trigger, which pays 5 gold and dims it.
xdotool keydown Right
wait_log "E2E touch"
wait_pixel 144 208 180 180 190 "the dimmed rune"

# Still walking right, the hero stops at the elder's stall (column 9), his blue shirt just
# left of it; talking there reaches the elder. A press whose probe finds nobody is repeated,
# each after waiting long enough (even on a loaded machine) for the probe's short flight and
# the script's print.
wait_pixel 280 209 40 90 230 "the hero at the stall"
tries=0
until has_line "E2E talk"; do
  tries=$((tries + 1)); [ $tries -gt 3 ] && fail "the elder never answered"
  xdotool key Return
  deadline=$(( $(date +%s) + 10 ))
  until has_line "E2E talk" || [ "$(date +%s)" -gt "$deadline" ]; do sleep 0.02; done
done
xdotool keyup Right
# The text box, with its dark blue middle, covers the path where the walk began.
wait_pixel 88 208 28 36 92 "the text box"
xdotool key Return
wait_log "E2E question"
wait_pixel 88 208 28 36 92 "the question dialog"
# The second answer: to the forest now.
xdotool key Down
xdotool key Return
wait_log "E2E answer 1"
# The sword comes with a text box of its own.
wait_log "E2E sword"
wait_pixel 88 208 28 36 92 "the sword's text box"
xdotool key Return

# The village is left, the forest scrolls in; its chest (column 15, row 4) shows a gold lock
# where the village has grass.
wait_log "E2E village left"
wait_log "E2E map2 entered"
wait_pixel 495 143 230 200 60 "the forest's chest"

# Escape asks whether to leave; "Yes" is the first answer.
xdotool key Escape
wait_pixel 88 208 28 36 92 "the exit question"
xdotool key Return
expect_clean_end "$user"
echo "PASS"
