#!/bin/sh
# Signals during play: SIGINT asks the exit question and a second SIGINT while it is open
# ends the real program; SIGTERM and SIGHUP end it at once; always with status 0 whatever the
# music did before. Arguments: build folder, fixtures folder (unused).
set -u
. "$(dirname "$0")/lib/common.sh"
. "$(dirname "$0")/lib/exit_run.sh"
for music in playing stopped paused none; do
  for way in sigint sigterm sighup; do exit_run play "$way" "$music"; done
done
echo "PASS"
