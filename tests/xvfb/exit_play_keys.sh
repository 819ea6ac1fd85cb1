#!/bin/sh
# Leaving play through the exit question's "Yes", asked by Escape or by the window's close
# button, ends the real program with status 0 whatever the music did before.
# Arguments: build folder, fixtures folder (unused).
set -u
. "$(dirname "$0")/lib/common.sh"
. "$(dirname "$0")/lib/exit_run.sh"
for music in playing stopped paused none; do
  for way in escape close; do exit_run play "$way" "$music"; done
done
echo "PASS"
