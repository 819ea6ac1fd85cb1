# The exit paths of the real program, one run each. A test script sources lib/common.sh and
# then this file, which runs the script inside an X server of its own (the arguments are the
# build folder and the fixtures folder); then it calls exit_run for each case.
xvfb_reexec 1280x800x24 "$0" "$@"
build=$1

exit_tmp=$(mktemp -d)
game_pid=""
exit_cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  rm -rf "$exit_tmp"
}
trap exit_cleanup EXIT
exit_res=$(cd "$build/Resources" && pwd)
[ -f "$exit_res/Music/menu.ogg" ] || fail "no demo quest in $build/Resources"

# A quest of the demo's pictures, maps and tables with scripts of its own: the new game plays
# track 0 ("village.ogg") when $1 is "play" and then prints "new game"; "menu.ogg" is there
# unless $2 is "silent".
exit_quest() {
  quest=$exit_tmp/quest-$1-$2
  [ -d "$quest" ] && return
  mkdir -p "$quest/Music" "$quest/Triggers"
  for f in Images Maps Sounds item.dat npc.dat; do ln -s "$exit_res/$f" "$quest/$f"; done
  ln -s "$exit_res/Music/village.ogg" "$quest/Music/village.ogg"
  [ "$2" = silent ] || ln -s "$exit_res/Music/menu.ogg" "$quest/Music/menu.ogg"
  printf 'village.ogg\r\n' > "$quest/Music/music.dat"
  : > "$quest/Triggers/triggers.dat"
  : > "$quest/Triggers/setup.lua"
  [ "$1" = play ] && echo 'PlayMusic(0)' > "$quest/Triggers/startup.lua"
  echo 'print("new game")' >> "$quest/Triggers/startup.lua"
}

# The colour of a pixel of the game picture (640 x 480, from its top-left corner).
exit_pixel() { "$build/tests/xpixel" $((origin_x + $1)) $((origin_y + $2)); }
# True while a dialog box (the exit question, the options screen) is shown: its dark blue
# middle covers this pixel, just inside its left border (and left of the question's portrait).
box_shown() {
  set -- $(exit_pixel 40 208)
  dr=$(($1 - 28)); dg=$(($2 - 36)); db=$(($3 - 92))
  [ ${dr#-} -le 12 ] && [ ${dg#-} -le 12 ] && [ ${db#-} -le 12 ]
}
wait_box() {
  wait_for 'box_shown || ! kill -0 $game_pid 2>/dev/null'
  box_shown || fail "$exit_case: no $1"
}

# exit_run PLACE WAY MUSIC: a game whose music is MUSIC (playing, stopped: the title music that
# the new game stopped, paused: switched off, none: never made) goes to PLACE (play, title)
# and is left by WAY (escape, close: "Yes" after Escape or the close button; entry: the title
# menu's exit entry; sigint: SIGINT, the exit question, SIGINT; sigterm; sighup). It must end
# with status 0 and without its working folder.
exit_run() {
  exit_case="$1 $2 $3"
  echo "$exit_case"
  music_flag=1
  case $3 in
    playing) exit_quest play loud ;;
    stopped) exit_quest quiet loud ;;
    paused) exit_quest play loud; music_flag=0 ;;
    none) exit_quest quiet silent ;;
  esac
  dir=$exit_tmp/run
  rm -rf "$dir"
  make_game_tree "$dir" "$quest"
  user="$dir/home/Documents/Corvel User Data"
  # The third flag byte of "config.dat" is the music switch.
  printf "\\00$music_flag" | dd of="$user/config.dat" bs=1 seek=2 conv=notrunc 2>/dev/null
  out=$dir/out.txt
  HOME="$dir/home" SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null} line_buffered \
    "$dir/bin/corvel" >"$out" 2>&1 &
  game_pid=$!
  wait_window "$exit_case: "
  origin_x=$(echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),.*/\1/p')
  top=$(echo "$geometry" | sed -n 's/.*Position: [-0-9]*,\([-0-9]*\).*/\1/p')
  height=$(echo "$geometry" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  origin_y=$((top + height - 480))
  xdotool windowfocus --sync "$wid" 2>/dev/null
  selected=0
  if [ "$1" = play ]; then
    xdotool key Return
    wait_for 'has_line "new game" || ! kill -0 $game_pid 2>/dev/null'
    has_line "new game" || fail "$exit_case: no new game"
  elif [ "$3" = paused ]; then
    # The options screen (the third entry) switches the title music off.
    xdotool key Down Down Return
    wait_box "options screen"
    xdotool key Down Down Return Escape
    wait_for '! box_shown'
    selected=2
  fi
  case $2 in
    escape) xdotool key Escape; wait_box "exit question"; xdotool key Return ;;
    close)
      "$build/tests/xclose" "$wid" || fail "$exit_case: no close request"
      wait_box "exit question"; xdotool key Return ;;
    entry)
      if [ "$selected" -eq 0 ]; then xdotool key Up; else xdotool key Down Down; fi
      xdotool key Return; wait_box "exit question"; xdotool key Return ;;
    sigint) kill -INT "$game_pid"; wait_box "exit question after SIGINT"; kill -INT "$game_pid" ;;
    sigterm) kill -TERM "$game_pid" ;;
    sighup) kill -HUP "$game_pid" ;;
  esac
  expect_clean_end "$user" "$exit_case: "
}
