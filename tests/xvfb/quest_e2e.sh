#!/bin/sh
# Plays the demo quest in the real program under Xvfb: a new game from the title, a walk
# over the rune on the path, a talk with the elder (text box and question), the trip to the
# forest, and the way out through the exit question. The scripts print what happened and
# the screen's pixels show it. Arguments: build folder, fixtures folder (unused).
set -u
build=$1
tmp=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
log="$tmp/out.txt"
fail() {
  echo "FAIL: $*"
  echo "--- game output"; cat "$log" 2>/dev/null
  exit 1
}

[ -f "$build/Resources/Maps/village.map" ] || fail "no demo quest in $build/Resources"
user="$tmp/home/Documents/Corvel User Data"
mkdir -p "$user"
# Windowed, sound and music on; the folder lines are ignored; the default keys.
{
  printf '\000\001\001\000\000'
  for i in 1 2 3 4 5 6 7; do printf 'x\r\n'; done
  printf '\046\050\045\047\132\130\015\111\011\033\123\114\105\103'
} > "$user/config.dat"

display=":$((200 + $$ % 500))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"; sleep 0.1
done

# Line-buffered, so that each print of the scripts reaches the log at once.
HOME="$tmp/home" SDL_VIDEODRIVER=x11 stdbuf -oL "$build/bin/corvel" >"$log" 2>&1 &
game_pid=$!

# Polls (every 0.1 s, up to the given seconds) until the log holds a line.
wait_log() {
  echo "waiting for $1"
  n=0
  until grep -qx "$1" "$log"; do
    n=$((n + 1)); [ $n -gt $(($2 * 10)) ] && fail "no '$1' in the output"
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for '$1'"
    sleep 0.1
  done
}
# The colour of a pixel of the game picture (640 x 480, from its top-left corner).
pixel() { "$build/tests/xpixel" $((origin_x + $1)) $((origin_y + $2)); }
# Polls until the pixel at X Y is within 12 of R G B in every channel.
wait_pixel() {
  echo "waiting for $6"
  n=0
  while :; do
    set -- $1 $2 $3 $4 $5 "$6" $(pixel $1 $2)
    dr=$(($7 - $3)); dg=$(($8 - $4)); db=$(($9 - $5))
    [ ${dr#-} -le 12 ] && [ ${dg#-} -le 12 ] && [ ${db#-} -le 12 ] && return 0
    n=$((n + 1)); [ $n -gt 100 ] && fail "$6: pixel ($1, $2) is $7 $8 $9, not $3 $4 $5"
    sleep 0.1
  done
}

wait_log "E2E setup" 20
wid=""
i=0
while [ -z "$wid" ]; do
  wid=$(xdotool search --name '^Corvel v1\.0a - ' 2>/dev/null | head -n 1)
  i=$((i + 1)); [ $i -gt 200 ] && fail "no game window"; sleep 0.1
done
# The picture fills the bottom 640 x 480 of the window, below its menu strip.
geometry=$(xdotool getwindowgeometry "$wid")
origin_x=$(echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),.*/\1/p')
top=$(echo "$geometry" | sed -n 's/.*Position: [-0-9]*,\([-0-9]*\).*/\1/p')
height=$(echo "$geometry" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
origin_y=$((top + height - 480))
xdotool windowfocus --sync "$wid" 2>/dev/null

# The title's first entry starts a new game; the startup script goes to the village,
# where the rune on the path (column 4, row 6) glows cyan.
xdotool key Return
wait_log "E2E startup" 20
wait_log "E2E village entered" 5
wait_pixel 144 208 140 255 255 "the glowing rune"

# Walking right onto the rune runs its touch trigger, which pays 5 gold and dims it.
xdotool keydown Right
wait_log "E2E touch" 10
wait_pixel 144 208 180 180 190 "the dimmed rune"

# Still walking right, the hero stops at the elder's stall; talking reaches the elder once
# he is near enough. Each try waits long enough for the talk probe's short flight.
tries=0
until grep -qx "E2E talk" "$log"; do
  tries=$((tries + 1)); [ $tries -gt 20 ] && fail "the elder never answered"
  xdotool key Return
  sleep 0.5
done
xdotool keyup Right
# The text box, with its dark blue middle, covers the path where the walk began.
wait_pixel 88 208 28 36 92 "the text box"
xdotool key Return
wait_log "E2E question" 5
wait_pixel 88 208 28 36 92 "the question dialog"
# The second answer: to the forest now.
xdotool key Down
xdotool key Return
wait_log "E2E answer 1" 5
# The sword comes with a text box of its own.
wait_log "E2E sword" 5
wait_pixel 88 208 28 36 92 "the sword's text box"
xdotool key Return

# The village is left, the forest scrolls in; its chest (column 15, row 4) shows a gold lock
# where the village has grass.
wait_log "E2E village left" 10
wait_log "E2E map2 entered" 15
wait_pixel 495 143 230 200 60 "the forest's chest"

# Escape asks whether to leave; "Yes" is the first answer.
xdotool key Escape
wait_pixel 88 208 28 36 92 "the exit question"
xdotool key Return
i=0
while kill -0 "$game_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 150 ] && fail "the game did not end after Yes"; sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status, not 0"
[ ! -e "$user/Temporary Files" ] || fail "the working folder is still there"
echo "PASS"
