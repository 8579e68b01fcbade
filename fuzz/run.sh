#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan on) and runs each
# for a fixed number of executions, bounded in time:
#   fuzz/run.sh                      FUZZ_RUNS=100000 FUZZ_MAX_TIME=120 by default
#   FUZZ_RUNS=-1 FUZZ_MAX_TIME=3600 fuzz/run.sh mapfile   a long run of one target
# Saved inputs in fuzz/regressions/<target>/ are run first; a crash leaves its input in
# build-fuzz/artifacts/ — copy it to fuzz/regressions/<target>/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-fuzz
runs=${FUZZ_RUNS:-100000}
max_time=${FUZZ_MAX_TIME:-120}
jobs=$(nproc)

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DOBORO_FUZZ=ON -DOBORO_SANITIZE=ON -DOBORO_TESTS=OFF -DOBORO_BENCH=OFF >/dev/null

if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for src in fuzz/fuzz_*.cpp; do
    n=$(basename "$src" .cpp)
    names+=("${n#fuzz_}")
  done
fi
targets=()
for n in "${names[@]}"; do targets+=("fuzz_$n"); done
cmake --build "$dir" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
summary=()
for n in "${names[@]}"; do
  exe="$dir/fuzz/fuzz_$n"
  regress=(fuzz/regressions/"$n"/*)
  if [ -e "${regress[0]}" ]; then
    echo "== $n: ${#regress[@]} saved inputs"
    "$exe" "${regress[@]}" >/dev/null 2>"$dir/artifacts/$n-regressions.log" || {
      cat "$dir/artifacts/$n-regressions.log"; echo "FAILED: a saved input of $n crashes"; exit 1; }
  fi
  work="$dir/corpus/$n"
  mkdir -p "$work"
  echo "== $n: fuzzing (runs $runs, at most ${max_time}s)"
  log="$dir/artifacts/$n.log"
  dict=()
  [ -f "fuzz/$n.dict" ] && dict=(-dict="fuzz/$n.dict")
  if ! "$exe" "${dict[@]}" -runs="$runs" -max_total_time="$max_time" -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/$n-" "$work" "fuzz/corpus/$n" >"$log" 2>&1; then
    tail -40 "$log"
    echo "FAILED: $n found a fault; the input is in $dir/artifacts/"
    exit 1
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  summary+=("$n: $execs executions, no fault")
done
printf '%s\n' "${summary[@]}"
