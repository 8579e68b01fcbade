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
folder="${XDG_DATA_HOME:-$HOME/.local/share}/oboro"
if [ ! -d "$folder/mapdata" ] && [ -d data ]; then
  mkdir -p "$folder"
  cp -r data/. "$folder/"
fi
for a in "$@"; do
  [ "$a" = "--folder" ] && exec build/oboro "$@"
done
exec build/oboro --folder "$folder" "$@"
