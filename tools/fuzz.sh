#!/usr/bin/env bash
# `make fuzz`: runs every libFuzzer harness of build/fuzz (preset `fuzz`) for FUZZ_SECONDS each
# (default 60), from its committed seed corpus tests/fuzz/corpus/<name>/ and its dictionary
# tests/fuzz/<name>.dict when there is one. New inputs that reach new code go to a working
# corpus under build/fuzz/corpus/<name>/ (not committed); an input that breaks a rule, crashes,
# leaks, runs out of memory or hangs is kept as a file in the seed corpus folder
# (crash-…, leak-…, oom-…, timeout-…), so that `make test` runs it from then on.
#
# Environment:
#   FUZZ_SECONDS   time per harness, in seconds (default 60)
#   FUZZ_TARGETS   names of the harnesses to run, separated by spaces (default: all)
#   FUZZ_JOBS      parallel fuzzing processes per harness (default 1)
#   FUZZ_HARNESSES folder of the harness programs (default build/fuzz/tests/fuzz)
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-1}
build=${FUZZ_HARNESSES:-build/fuzz/tests/fuzz}
found=()

names=${FUZZ_TARGETS:-$(for h in "$build"/lockbeacon_*_fuzz; do
  basename "$h" | sed 's/^lockbeacon_//; s/_fuzz$//'; done)}

for name in $names; do
  harness="$build/lockbeacon_${name}_fuzz"
  seeds="tests/fuzz/corpus/$name"
  work="build/fuzz/corpus/$name"
  [ -x "$harness" ] || { echo "fuzz: no harness $harness (cmake --build --preset fuzz)"; exit 2; }
  mkdir -p "$work" "build/fuzz/logs"
  options=(-max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1
           -artifact_prefix="$seeds/")
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  if [ "$jobs" -gt 1 ]; then
    options+=(-fork="$jobs" -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1)
  fi
  echo "fuzz: $name for ${seconds}s"
  log="build/fuzz/logs/$name.log"
  "$harness" "${options[@]}" "$work" "$seeds" >"$log" 2>&1
  status=$?
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -n 2 | sed "s/^/fuzz: $name: /"
  new=$(find "$seeds" -maxdepth 1 -newer "$harness" \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'oom-*' -o -name 'timeout-*' \) | sort)
  if [ "$status" -ne 0 ] || [ -n "$new" ]; then
    echo "fuzz: $name FOUND something (exit $status), see $log"
    [ -n "$new" ] && echo "$new" | sed 's/^/fuzz:   kept /'
    found+=("$name")
  fi
done

if [ "${#found[@]}" -gt 0 ]; then
  echo "fuzz: findings in: ${found[*]}"
  exit 1
fi
echo "fuzz: no findings"
