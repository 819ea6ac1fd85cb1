# Shared pieces of the Xvfb test scripts; source it after setting $out (a log to show on failure).

# Re-runs the calling script inside its own X server of the given screen size.
# Usage: xvfb_reexec 640x480x24 "$0" "$@"
xvfb_reexec() {
  screen=$1; shift
  if [ "${XVFB_INNER:-}" != 1 ]; then
    XVFB_INNER=1 exec xvfb-run -a -s "-screen 0 $screen" sh "$@"
  fi
}

fail() {
  echo "FAILED: $1"
  if [ -n "${out:-}" ] && [ -f "$out" ]; then
    echo "--- program output:"
    cat "$out"
  fi
  exit 1
}

# Polls a shell condition every 20 ms, for at most $2 seconds (10 by default).
wait_for() {
  tries=0
  limit=$(( ${2:-10} * 50 ))
  until eval "$1"; do
    tries=$((tries + 1))
    [ "$tries" -gt "$limit" ] && fail "timed out waiting for: $1"
    sleep 0.02
  done
}

has_line() { grep -qx "$1" "$out"; }

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
  wait_for '! kill -0 "$game_pid" 2>/dev/null' 20
  wait "$game_pid"
  status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "${2:-}exit status $status, not 0"
  [ ! -e "$1/Temporary Files" ] || fail "${2:-}the working folder is still there"
}
