#!/bin/sh
# The game in a real window: its title, its size, and leaving it through the window's close
# button and the exit question. Arguments: build folder, fixtures folder.
set -u
. "$(dirname "$0")/lib/common.sh"
xvfb_reexec 1280x800x24 "$0" "$@"
build=$1
fixtures=$2
tmp=$(mktemp -d)
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
out="$tmp/out.txt"

# The resource folder is fixed beside the executable: a tree of our own with a copy of the
# fixture quest whose startup script says when a new game has begun, windowed through its
# "config.dat".
cp -R "$fixtures/core_quest" "$tmp/quest"
echo 'print("new game")' >>"$tmp/quest/Triggers/startup.lua"
make_game_tree "$tmp" "$tmp/quest"
user="$tmp/home/Documents/Corvel User Data"

HOME="$tmp/home" SDL_VIDEODRIVER=x11 line_buffered "$tmp/bin/corvel" >"$out" 2>&1 &
game_pid=$!
# The client area is the 640 x 480 picture plus the menu strip above it.
wait_window
title=$(xdotool getwindowname "$wid")
echo "title: $title"
left=$(echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),.*/\1/p')
geometry=$(echo "$geometry" | sed -n 's/.*Geometry: //p')
width=${geometry%x*}
height=${geometry#*x}
echo "geometry: $geometry"
[ "$width" -eq 640 ] || fail "window width $width, not 640"
# Centred on the 1280 x 800 desktop: (1280 - 640) / 2.
[ "$left" -eq 320 ] || fail "window at x $left, not 320"
[ "$height" -gt 480 ] && [ "$height" -lt 540 ] || fail "window height $height: not 480 plus a menu strip"

# The title menu starts a new game on Return. Then the close button asks the exit question,
# where "Yes" is highlighted and Return takes it: the key follows the close request in the
# game's queue, so it reaches the question.
xdotool windowfocus --sync "$wid" 2>/dev/null; xdotool key Return
wait_for 'has_line "new game" || ! kill -0 "$game_pid" 2>/dev/null'
has_line "new game" || fail "the game ended before a new game began"
xdotool windowfocus --sync "$wid" 2>/dev/null
"$build/tests/xclose" "$wid" || fail "could not send the close request"
xdotool key Return
expect_clean_end "$user"
[ -d "$user/Save" ] || fail "the save folder was not made"
echo "PASS"
