# Shared pieces of the Xvfb test scripts; source it after setting $out (a log to show on failure).

# Re-runs the calling script beside an X server of its own with one screen of the given size
# (e.g. 640x480x24). Xvfb picks a free display itself and names it only once it accepts
# connections (-displayfd), so tests started side by side never race for a display. It does
# not reset when its last client leaves (-noreset): a program that connected while it reset
# would find no X server, as happens between two runs of the game.
# Usage: xvfb_reexec 640x480x24 "$0" "$@"
xvfb_reexec() {
  [ "${XVFB_INNER:-}" = 1 ] && return 0
  screen=$1; shift
  xvfb_dir=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$xvfb_dir/display" \
    >"$xvfb_dir/log" 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null; rm -rf "$xvfb_dir"' EXIT
  out="$xvfb_dir/log"
  wait_for 'grep -q "^[0-9][0-9]*\$" "$xvfb_dir/display" || ! kill -0 "$xvfb_pid" 2>/dev/null'
  grep -q '^[0-9][0-9]*$' "$xvfb_dir/display" || fail "Xvfb did not start"
  DISPLAY=:$(cat "$xvfb_dir/display") XVFB_INNER=1 sh "$@"
  status=$?
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  exit $status
}

fail() {
  echo "FAILED: $1"
  if [ -n "${out:-}" ] && [ -f "$out" ]; then
    echo "--- program output:"
    cat "$out"
  fi
  exit 1
}

# Polls a shell condition every 20 ms until it holds, for at most $2 seconds (60 by default:
# the tests run beside the rest of the suite on a fully loaded machine).
wait_for() {
  deadline=$(( $(date +%s) + ${2:-60} ))
  until eval "$1"; do
    [ "$(date +%s)" -gt "$deadline" ] && fail "timed out waiting for: $1"
    sleep 0.02
  done
}

has_line() { grep -qx "$1" "$out"; }

# Starts a program in the background with its standard output line-buffered, so that each
# line it prints reaches the log at once: `line_buffered program args... &`. The background
# subshell becomes the program (exec), so $! is the program's own pid and signals reach it.
# stdbuf preloads a library of its own, which a program built with AddressSanitizer must be
# told to accept ahead of the sanitizer's.
line_buffered() {
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" exec stdbuf -oL "$@"
}

# Makes $1/bin/corvel with $1/Resources linked to the quest folder $2 (the game finds its
# resources beside its executable) and a user folder under $1/home whose "config.dat" asks
# for a window with sound and music on and the default keys.
make_game_tree() {
  tree=$1 quest=$2
  mkdir -p "$tree/bin" "$tree/home/Documents/Corvel User Data"
  cp "$build/bin/corvel" "$tree/bin/corvel"
  ln -s "$quest" "$tree/Resources"
  {
    printf '\000\001\001\000\000'
    for i in 1 2 3 4 5 6 7; do printf 'x\r\n'; done
    printf '\046\050\045\047\132\130\015\111\011\033\123\114\105\103'
  } > "$tree/home/Documents/Corvel User Data/config.dat"
}

# Waits for the game $game_pid to end (the caller has asked it to) and checks that it ended
# cleanly: status 0, and no working folder left in the user folder $1. $2 prefixes the
# failure messages. Clears game_pid.
expect_clean_end() {
  wait_for '! kill -0 "$game_pid" 2>/dev/null'
  wait "$game_pid"
  status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "${2:-}exit status $status, not 0"
  [ ! -e "$1/Temporary Files" ] || fail "${2:-}the working folder is still there"
}

# Waits for the game $game_pid to show its window and sets $wid to it and $geometry to what
# xdotool says of it. The window is made again when its renderer comes (a window made for
# OpenGL replaces the first), so the last window of the game's title is taken, and only once
# it has its final size: the 640 x 480 picture below the menu strip. Fails if the game ends
# first; $1 prefixes that failure.
wait_window() {
  wid="" geometry=""
  wait_for 'wid=$(xdotool search --pid "$game_pid" --name "^Corvel v1\\.0a - " 2>/dev/null | tail -n 1)
    geometry=$(xdotool getwindowgeometry "$wid" 2>/dev/null)
    echo "$geometry" | grep -q "Geometry: 640x5" || ! kill -0 "$game_pid" 2>/dev/null'
  kill -0 "$game_pid" 2>/dev/null || fail "${1:-}the game ended before its window showed"
}
