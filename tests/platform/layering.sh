#!/bin/sh
# Only the SDL display backend includes SDL's headers and only the OpenAL audio backend
# includes OpenAL's: everything else reaches them through the platform's interfaces.
# Argument: the source folder.
cd "$1" || exit 2
found=$(find . -path ./build -prune -o -path './build-*' -prune -o \
  \( -name '*.cpp' -o -name '*.h' \) -print |
  xargs grep -lE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/|SDL\.h|AL/)' |
  grep -vE '^\./platform/(display/sdl|audio/openal)/')
if [ -n "$found" ]; then
  echo "SDL or OpenAL headers included outside their backends:"
  echo "$found"
  exit 1
fi
