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
# The prefecture-only default of earlier versions (coasts and prefecture borders, no
# municipalities) is put aside, so the bundled municipalities take its place.
if grep -qs 'mapdata_japan_prefectures' "$folder/mapdata/SOURCE.txt"; then
  old="$folder/mapdata.prefectures-$(date +%Y%m%d%H%M%S)"
  mv "$folder/mapdata" "$old"
  echo "run.sh: the old prefecture-only map data was moved to $old"
fi
if [ ! -d "$folder/mapdata" ] && [ -d data ]; then
  # No-clobber: files the user already has are kept. The data's own date and credit
  # are in mapdata/SOURCE.txt, whatever the dates of the copied files.
  cp -rn --preserve=timestamps data/. "$folder/"
  # The user's settings and lists come along from the data put aside.
  if [ -n "${old:-}" ]; then
    for f in config.ini townlist.lst paintlist.lst; do
      if [ -f "$old/$f" ]; then cp -p "$old/$f" "$folder/mapdata/"; fi
    done
  fi
fi
# The symbol bitmaps came later than the map data: a folder without them gets them.
if [ ! -d "$folder/mark" ] && [ -d data/mark ]; then
  cp -rn --preserve=timestamps data/mark "$folder/"
fi
exec build/oboro --folder "$folder" "$@"
