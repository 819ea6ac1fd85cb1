#!/bin/sh
# Plays the demo quest in the real program under Xvfb, from a new game to its ending and into
# the next game: the rune on the path, the talk with the elder across his stall (text box and
# question), the trip to the forest, the fight with the archer for his key, the cave, the key
# put in hand in the inventory and turned in the gate, the altar, the video over the whole
# screen, the splash, the last words and the credits; then a new game from the title, which
# must show the village at once, without anything of the cave; and the way out through the
# exit question. The scripts print what happened and the screen's pixels show it.
# Each step waits for what the game prints or shows, where the hero stands among it, and no
# longer; a time limit only ends a wait for something that never comes. Key holds move the
# hero, and it is seen where it got to before the next one, so that a busy machine, whose
# game catches up its ticks in bursts, takes the same way, only slower.
# Arguments: build folder, fixtures folder (unused).
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

# Waits for a line the scripts print; fails at once when the game has ended or the hero died.
wait_log() {
  echo "waiting for $1"
  wait_for "has_line '$1' || has_line 'E2E death' || ! kill -0 $game_pid 2>/dev/null"
  has_line "E2E death" && fail "the hero died on the way to '$1'"
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

# Where the hero stands: "X Y", its top-left corner in the play field, from the middle of its
# blue shirt (columns 8 to 23, rows 14 to 24 of its sprite); nothing while the shirt is not
# seen (a flashing hero, a text box over it).
hero() {
  found=$("$build/tests/xfind" "$origin_x" "$origin_y" 640 416 40 90 230) || return 1
  set -- $found
  echo $(($1 - 15)) $(($2 - 19))
}
# Seconds for a key hold of $1 milliseconds, as xdotool's sleep takes them.
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
# Holds a direction key for about the time the hero needs to walk $2 pixels (6 pixels a tick,
# 30 ticks a second: 5.5 ms a pixel), at most a third of a second; one xdotool run presses
# and releases, so that no start of a program comes between.
step() {
  ms=$(($2 * 11 / 2)); [ "$ms" -gt 330 ] && ms=330
  xdotool keydown "$1" sleep "$(seconds "$ms")" keyup "$1"
}
# Walks the hero to within 6 pixels (one tick's walk) of X Y, first across, then up or down,
# in short steps that each look where the hero got to (stones and pushes move it too); up or
# down goes first while a step across gets nowhere (something stands in the way). The hero
# is there when it is seen twice in the same place near X Y: a look may come before the
# game has taken the last key. The third argument names the place; a fourth, a condition,
# ends the walk early when it holds.
walk_to() {
  echo "walking to $3 ($1, $2)"
  tries=0 still=0 last=""
  while :; do
    has_line "E2E death" && fail "the hero died on the way to $3"
    [ -n "${4:-}" ] && eval "$4" && return 0
    tries=$((tries + 1))
    [ $tries -gt 200 ] && fail "the hero did not get to $3: it stands at $(hero)"
    if ! at=$(hero); then sleep 0.05; continue; fi
    if [ "$at" = "$last" ]; then still=$((still + 1)); else still=0 last=$at; fi
    [ $still -gt 20 ] && fail "the hero is stuck at $at on the way to $3"
    dx=$(($1 - ${at% *})); dy=$(($2 - ${at#* }))
    if [ ${dx#-} -gt 6 ] && { [ $still -eq 0 ] || [ ${dy#-} -le 6 ]; }; then
      if [ "$dx" -gt 0 ]; then step Right "$dx"; else step Left "${dx#-}"; fi
    elif [ ${dy#-} -gt 6 ]; then
      if [ "$dy" -gt 0 ]; then step Down "$dy"; else step Up "${dy#-}"; fi
    elif [ $still -gt 0 ]; then
      return 0
    fi
    sleep 0.05
  done
}
# Where the archer stands: "X Y", his top-left corner, from the middle of his face (the skin of
# his head); nothing while he flashes after a hit, or once he has fallen.
archer() {
  found=$("$build/tests/xfind" $((origin_x + 448)) "$origin_y" 192 160 220 180 140) || return 1
  set -- $found
  [ "$3" -ge 30 ] || return 1
  echo $((448 + $1 - 16)) $(($2 - 9))
}
# One run at the archer standing at X Y from the hero's place HX HY: right to his column, up
# to 44 pixels below him, where the sword reaches him and he does not touch the hero, the
# swing, and back: down a little further than up, clear of the chest, and left twice as far
# as the way there.
attack() {
  right=$(( ($1 - $3) * 11 / 2 )) up=$(( ($4 - $2 - 44) * 11 / 2 ))
  [ "$up" -lt 0 ] && up=0
  xdotool keydown Right sleep "$(seconds $right)" keyup Right \
    keydown Up sleep "$(seconds $up)" keyup Up key z \
    keydown Down sleep "$(seconds $((up + 80)))" keyup Down \
    keydown Left sleep "$(seconds $((right * 2)))" keyup Left
}
# True when the pixel at X Y is green: a hill of the closing video, not the brown strip.
pixel_green() {
  set -- $(pixel "$1" "$2")
  [ "$2" -ge $(($1 + 30)) ] && [ "$2" -ge $(($3 + 20)) ]
}
# True while a text box or question shows: whatever its height, its gold left border covers
# (33, 208) and its dark blue (40, 208).
box_shown() { pixel_near 33 208 220 180 60 && pixel_near 40 208 28 36 92; }
# Waits for a text box or question, named by the argument, and presses Return.
close_box() {
  echo "waiting for $1"
  wait_for box_shown
  xdotool key Return
}

wait_log "E2E setup"
# The picture fills the bottom 640 x 480 of the window, below its menu strip.
wait_window
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
# left of it; talking there, once it stands no more than 10 pixels short of the stall,
# reaches the elder behind it.
wait_pixel 280 209 40 90 230 "the hero at the stall"
wait_for 'at=$(hero) && [ "${at% *}" -ge 254 ]'
xdotool key Return
wait_log "E2E talk"
xdotool keyup Right
# The text box, with its dark blue middle, covers the path where the walk began.
close_box "the text box"
wait_log "E2E question"
wait_for box_shown
# The second answer: to the forest now.
xdotool key Down
xdotool key Return
wait_log "E2E answer 1"
# The sword comes with a text box of its own.
wait_log "E2E sword"
close_box "the sword's text box"

# The village is left, the forest scrolls in; its chest (column 15, row 4) shows a gold lock
# where the village has grass.
wait_log "E2E village left"
wait_log "E2E map2 entered"
wait_pixel 495 143 230 200 60 "the forest's chest"

# The archer (column 17, row 3) stands still and shoots every few seconds, turned to the hero:
# straight ahead, along his row or column, or at the hero. The hero waits where no stone
# reaches, below and left of the chest (column 15, row 4), which stops the stones aimed there.
# From there each attack is one run of key holds in one xdotool run: right to the archer's
# column, up into the reach of the sword, a swing up at him, and back down and left; then the
# hero walks into cover from wherever the run left it. A hit throws him back (18 pixels,
# until the trunks behind him stop him) and leaves him flashing for a while, when a swing
# does nothing: the hero waits in cover until he is seen unhurt again, and runs at him where
# he then stands.
walk_to 432 192 "the path short of the archer"
walk_to 432 148 "the way round the chest"
walk_to 464 148 "the cover of the chest"
fight_over() { has_line "E2E archer down" || has_line "E2E death"; }
runs=0
until fight_over; do
  runs=$((runs + 1)); [ $runs -gt 12 ] && fail "the archer never fell"
  echo "waiting for the archer to stand unhurt"
  wait_for 'fight_over || { target=$(archer) && me=$(hero); }'
  fight_over && break
  echo "running at the archer at ($target) from ($me)"
  attack $target $me
  walk_to 464 148 "the cover of the chest" fight_over
done
has_line "E2E death" && fail "the hero died fighting the archer"
close_box "the archer's last words"

# Back to the path and along it to column 9, down to the cave, whose opening in the hall's
# south wall lies in the same column.
walk_to 544 180 "the end of the path"
walk_to 288 180 "the crossing"
xdotool keydown Down
wait_log "E2E cave entered"
xdotool keyup Down
walk_to 288 224 "below the hall"

# The key from the archer goes into the second hand: the inventory's cursor moves from the
# sword (cell 0) to the key (cell 1), which is put in the secondary hand.
xdotool key i
wait_pixel 62 92 70 50 30 "the inventory"
xdotool key Right Return Right Return i
walk_to 196 216 "the gate"
xdotool key x
wait_log "E2E gate open"
close_box "the gate's text"

# Through the gate to the altar in the west room's south-west corner; the hero walks left
# until it stands against the altar, facing it, and talks to it.
walk_to 96 216 "the west room"
walk_to 96 352 "the altar"
xdotool keydown Left
echo "waiting for the hero against the altar"
wait_for 'at=$(hero) && [ "${at% *}" -le 92 ]'
xdotool keyup Left key Return
wait_log "E2E ending"

# The sunrise fills the screen: its green hills reach the bottom-right corner, where the
# interface strip was. The splash follows, then the last words, and the credits.
echo "waiting for the video's hills in the corner"
wait_for "pixel_green 630 470"
close_box "the last words"
wait_pixel 130 91 220 180 60 "the credits' frame"
xdotool key Return

# A new game from the title: the village comes up at once, its rune glowing again, with no
# text box over it, and the startup and the village's entry trigger are all that run.
wait_pixel 252 297 220 180 60 "the title's New Game"
lines=$(wc -l < "$out")
xdotool key Return
echo "waiting for the new game's startup"
new_lines() { tail -n +$((lines + 1)) "$out"; }
wait_for "new_lines | grep -qx 'E2E startup' || ! kill -0 $game_pid 2>/dev/null"
wait_pixel 144 208 140 255 255 "the new game's glowing rune"
# Nothing holds the game there: a step down moves the hero (a screen open over the village
# would take the keys), and the rune still glows beside it.
echo "waiting for the hero to step down"
wait_for 'start=$(hero)'
xdotool keydown Down sleep 0.1 keyup Down
wait_for 'at=$(hero) && [ "$at" != "$start" ]'
pixel_near 144 208 140 255 255 || fail "something covers the new game's village"
new_game=$(new_lines)
[ "$new_game" = "$(printf 'E2E village entered\nE2E startup')" ] ||
  fail "the new game printed: $new_game"

# Escape asks whether to leave; "Yes" is the first answer.
xdotool key Escape
close_box "the exit question"
expect_clean_end "$user"
echo "PASS"
