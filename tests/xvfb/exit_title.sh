#!/bin/sh
# Leaving from the title menu (the exit question asked by Escape or the window's close
# button, or the menu's exit entry) ends the real program with status 0, with the title
# music playing, paused by the options screen, or missing.
# Arguments: build folder, fixtures folder (unused).
set -u
. "$(dirname "$0")/lib/common.sh"
. "$(dirname "$0")/lib/exit_run.sh"
for music in playing paused none; do
  for way in escape close entry; do exit_run title "$way" "$music"; done
done
echo "PASS"
