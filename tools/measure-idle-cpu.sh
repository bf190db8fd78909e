#!/usr/bin/env bash
# Measures what the lock-key poll costs while nothing happens: the CPU time of LockBeacon.exe
# over an idle period under Wine, next to the poll stand-in bench/win/idle_poll_win.cpp reading
# the keyboard with 248 GetKeyState calls a tick (the literal poll) and with one
# GetKeyboardState call a tick, each over the same period, in one run. Wine answers keyboard
# queries in the wineserver, so its share is measured too (the delta of its CPU time in each
# phase, an idle phase given for reference).
#   tools/measure-idle-cpu.sh [SECONDS]   (default 60; needs a built windows preset)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
settle=5
build="$repo/build/windows"
for f in LockBeacon.exe bench/win/idle_poll_probe.exe; do
  [ -f "$build/$f" ] || { echo "measure: $build/$f is missing; run make build first" >&2; exit 1; }
done

export LOCKBEACON_WINE_DIR="$repo/build/measure"
trap '"$repo/tools/wine-env.sh" stop >/dev/null 2>&1 || true' EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"

app="$LOCKBEACON_WINE_DIR/app"
rm -rf "$app" && mkdir -p "$app"
cp "$build/LockBeacon.exe" "$app/"

hz=$(getconf CLK_TCK)
ticks_of() {  # utime + stime of a process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0
}
wineserver_pid() { pgrep -n -f "wineserver" || true; }
seconds_of() { awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }'; }
percent_of() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }

# measure LABEL COMMAND...: starts the command, lets it settle, then measures it and the
# wineserver over $seconds and ends it.
measure() {
  local label=$1; shift
  local pid="" server before after server_before server_after
  server=$(wineserver_pid)
  if [ "$#" -gt 0 ]; then
    (cd "$app" && exec "$@") >/dev/null 2>&1 &
    pid=$!
  fi
  sleep "$settle"
  before=0; [ -n "$pid" ] && before=$(ticks_of "$pid")
  server_before=$(ticks_of "$server")
  sleep "$seconds"
  after=0; [ -n "$pid" ] && after=$(ticks_of "$pid")
  server_after=$(ticks_of "$server")
  [ -n "$pid" ] && { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
  local own=$((after - before)) shared=$((server_after - server_before))
  printf '%-44s process %6ss (%5s %%)   wineserver %6ss (%5s %%)\n' "$label" \
    "$(seconds_of "$own")" "$(percent_of "$own")" "$(seconds_of "$shared")" "$(percent_of "$shared")"
}

echo "measure: ${seconds} s per phase under Wine on display $DISPLAY"
measure "nothing running (wineserver baseline)"
measure "LockBeacon.exe, idle" wine "$app/LockBeacon.exe"
measure "stand-in poll: 248 GetKeyState calls a tick" \
  wine "$build/bench/win/idle_poll_probe.exe" literal $((seconds + settle + 5))
measure "stand-in poll: one GetKeyboardState a tick" \
  wine "$build/bench/win/idle_poll_probe.exe" state $((seconds + settle + 5))
