#!/usr/bin/env bash
# Runs every test ring of the three build trees in one CTest run, so that the output ends with
# one summary: the native unit tests, the fuzzing harnesses over their corpora (build/fuzz), and
# under Wine the unit, win32 and end-to-end tests.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

# One Wine environment (private prefix, Xvfb, persistent wineserver) for the whole run.
trap 'tools/wine-env.sh stop' EXIT
tools/wine-env.sh start

cat >build/CTestTestfile.cmake <<'CTEST'
# Made by tools/run-tests.sh: the build trees in one run.
subdirs("native" "fuzz" "windows")
CTEST

# A test that fails is run once more before it counts as failed: now and then a Wine program
# dies before its first line under load (no output at all, in a few hundredths of a second).
# A real fault fails both times; the first failure's output stays in the log.
ctest --test-dir build --output-on-failure -j2 --timeout 300 --no-tests=error \
  --repeat until-pass:2 "$@"
