#!/bin/sh
# The game in a real window: its title, its size, and leaving it through the window's close
# button and the exit question. Arguments: build folder, fixtures folder.
set -u
if [ "${XVFB_INNER:-}" != 1 ]; then
  XVFB_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" sh "$0" "$@"
fi
build=$1
fixtures=$2
tmp=$(mktemp -d)
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The resource folder is fixed beside the executable: a tree of our own with the fixture quest.
mkdir -p "$tmp/bin" "$tmp/home/Documents/Corvel User Data"
cp "$build/bin/corvel" "$tmp/bin/corvel"
ln -s "$fixtures/core_quest" "$tmp/Resources"
user="$tmp/home/Documents/Corvel User Data"
# Windowed, sound and music on; folder lines are ignored; the default keys.
{
  printf '\000\001\001\000\000'
  for i in 1 2 3 4 5 6 7; do printf 'x\r\n'; done
  printf '\046\050\045\047\132\130\015\111\011\033\123\114\105\103'
} > "$user/config.dat"

HOME="$tmp/home" SDL_VIDEODRIVER=x11 "$tmp/bin/corvel" >"$tmp/out.txt" 2>&1 &
game_pid=$!
wid=""
i=0
while [ -z "$wid" ]; do
  wid=$(xdotool search --name '^Corvel v1\.0a - ' 2>/dev/null | head -n 1)
  i=$((i + 1)); [ $i -gt 200 ] && fail "no window titled 'Corvel v1.0a - ...'"; sleep 0.1
done
title=$(xdotool getwindowname "$wid")
echo "title: $title"

# The client area is the 640 x 480 picture plus the menu strip above it.
geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
width=${geometry%x*}
height=${geometry#*x}
echo "geometry: $geometry"
[ "$width" -eq 640 ] || fail "window width $width, not 640"
# Centred on the 1280 x 800 desktop: (1280 - 640) / 2.
left=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Position: \([-0-9]*\),.*/\1/p')
[ "$left" -eq 320 ] || fail "window at x $left, not 320"
[ "$height" -gt 480 ] && [ "$height" -lt 540 ] || fail "window height $height: not 480 plus a menu strip"

# The title menu starts a new game on Return; then the close button asks the exit question,
# where "Yes" is highlighted and Return takes it.
sleep 0.5
xdotool windowfocus --sync "$wid" 2>/dev/null; xdotool key Return
sleep 1
xdotool windowfocus --sync "$wid" 2>/dev/null
"$build/tests/xclose" "$wid" || fail "could not send the close request"
sleep 1
xdotool windowfocus --sync "$wid" 2>/dev/null; xdotool key Return
i=0
while kill -0 "$game_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && fail "the game did not end after Yes"; sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || { cat "$tmp/out.txt"; fail "exit status $status, not 0"; }
[ ! -e "$user/Temporary Files" ] || fail "the working folder is still there"
[ -d "$user/Save" ] || fail "the save folder was not made"
echo "PASS"
