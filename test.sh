#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with CTest.
#   ./test.sh             the normal build and test suite
#   ./test.sh --sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --fuzz      builds the fuzz targets (clang) and runs each for a fixed count
set -euo pipefail
cd "$(dirname "$0")"

mode=normal
case "${1:-}" in
  --sanitize) mode=sanitize ;;
  --fuzz) mode=fuzz ;;
  "") ;;
  *) echo "usage: $0 [--sanitize|--fuzz]" >&2; exit 2 ;;
esac

if [ "$mode" = fuzz ]; then
  OBORO_WITH_FUZZ=1 scripts/setup.sh
  exec fuzz/run.sh
fi
scripts/setup.sh

jobs=$(nproc)
if [ "$mode" = sanitize ]; then
  dir=build-sanitize
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOBORO_SANITIZE=ON -DOBORO_BENCH=OFF >/dev/null
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$jobs"
