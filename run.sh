#!/usr/bin/env bash
# Installs what is missing, builds Oboro and starts it on the bundled map data.
# Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target oboro

# The program writes beside its data (configuration, history, log), so it runs in a
# user program folder seeded from data/ on first run, never in this checkout.
for a in "$@"; do
  [ "$a" = "--folder" ] && exec build/oboro "$@"
done
folder="${XDG_DATA_HOME:-$HOME/.local/share}/oboro"
mkdir -p "$folder"
if [ ! -d "$folder/mapdata" ] && [ -d data ]; then
  # No-clobber: files the user already has are kept. The dates are kept too: the
  # start screen shows the newest map file date as the date of the boundary data.
  cp -rn --preserve=timestamps data/. "$folder/"
fi
exec build/oboro --folder "$folder" "$@"
