#!/usr/bin/env bash
# Measures what the program costs while nobody touches a lock key, as a laptop's battery would:
# context switches a second (wake-ups) and CPU time, of the process and of the wineserver (Wine
# answers window and keyboard queries there; its background, measured with nothing running, is
# taken off), over an idle period under Wine, in one run for:
#   - a bare message loop (bench/win/idle_poll_win.cpp, "bare"): the floor;
#   - the literal poll: 248 GetKeyState calls every 10 ms ("literal");
#   - LockBeacon.exe with each source of key presses, forced through LOCKBEACON_KEY_SOURCE (the
#     test build reads it): the 10 ms poll, the keyboard hook, raw input (what it picks itself).
# Then, for each source, the time from a SendInput Caps Lock press to the indicator being visible
# (bench/win/key_latency_win.cpp, median and worst of PRESSES presses).
#   tools/measure-idle-cpu.sh [SECONDS] [PRESSES]   (defaults 20 and 20; needs make build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
presses=${2:-20}
settle=3
build="$repo/build/windows"
for f in LockBeacon.exe bench/win/idle_poll_probe.exe bench/win/key_latency_probe.exe; do
  [ -f "$build/$f" ] || { echo "measure: $build/$f is missing; run make build first" >&2; exit 1; }
done

export LOCKBEACON_WINE_DIR="$repo/build/measure"
trap '"$repo/tools/wine-env.sh" stop >/dev/null 2>&1 || true' EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"

hz=$(getconf CLK_TCK)
ticks_of() {  # utime + stime of a process, all its threads, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0
}
# Voluntary and involuntary context switches of each thread of a process: "tid count" lines.
switch_table() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v tid="${task##*/}" '/^(non)?voluntary_ctxt_switches:/ { n += $2 }
      END { if (NR) print tid, n + 0 }' "$task/status" 2>/dev/null || true
  done
}
# The switches between two tables, thread by thread: a thread that ended in between (the update
# check's) is left out rather than counted as a negative number, one that began counts from 0.
switches_between() {
  awk 'NR == FNR { before[$1] = $2; next } { n += $2 - ($1 in before ? before[$1] : 0) }
    END { print n + 0 }' "$1" "$2"
}
switches_of() {  # all threads of a process together, for the wineserver (one thread)
  switch_table "$1" | awk '{ n += $2 } END { print n + 0 }'
}
# This run's wineserver: the one serving our prefix (other Wine runs may have their own).
wineserver_pid() {
  local pid
  for pid in $(pgrep '^wineserver' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return
    fi
  done
  pgrep -n '^wineserver' || true
}
per_second() { awk -v n="$1" -v s="$seconds" 'BEGIN { printf "%.1f", n / s }'; }
percent_of() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.3f", 100 * t / hz / s }'; }

server=$(wineserver_pid)
[ -n "$server" ] || { echo "measure: no wineserver" >&2; exit 1; }
base_switches=0 base_ticks=0
pid=""

# start_program DIR COMMAND...: starts the command in DIR and lets it settle.
start_program() {
  local dir=$1; shift
  (cd "$dir" && exec "$@") >/dev/null 2>&1 &
  pid=$!
  sleep "$settle"
}
stop_program() {
  [ -n "$pid" ] && { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
  pid=""
}

# measure LABEL: the running program (if any) and the wineserver over $seconds.
measure() {
  local label=$1 before=0 after=0 own_sw=0 s_before s_after ssw_before ssw_after
  local tables="$LOCKBEACON_WINE_DIR/switches"
  if [ -n "$pid" ]; then before=$(ticks_of "$pid"); switch_table "$pid" >"$tables.before"; fi
  s_before=$(ticks_of "$server"); ssw_before=$(switches_of "$server")
  sleep "$seconds"
  if [ -n "$pid" ]; then
    after=$(ticks_of "$pid"); switch_table "$pid" >"$tables.after"
    own_sw=$(switches_between "$tables.before" "$tables.after")
  fi
  s_after=$(ticks_of "$server"); ssw_after=$(switches_of "$server")
  local own=$((after - before))
  local shared=$((s_after - s_before)) shared_sw=$((ssw_after - ssw_before))
  if [ -z "$label" ]; then  # the background
    base_ticks=$shared base_switches=$shared_sw
    printf '%-34s %10s %9s %12s %10s\n' "wineserver background" "" "" \
      "$(per_second "$shared_sw")" "$(percent_of "$shared")"
    return
  fi
  local net=$((shared - base_ticks)) net_sw=$((shared_sw - base_switches))
  ((net < 0)) && net=0
  ((net_sw < 0)) && net_sw=0
  printf '%-34s %10s %9s %12s %10s\n' "$label" "$(per_second "$own_sw")" "$(percent_of "$own")" \
    "$(per_second "$net_sw")" "$(percent_of "$net")"
}

# A copy of the program in a folder of its own, whose indicator hides soon and at once, so that
# the latency presses follow each other quickly.
app="$LOCKBEACON_WINE_DIR/app"
rm -rf "$app" && mkdir -p "$app"
cp "$build/LockBeacon.exe" "$app/"
printf '[Settings]\r\nDisplayDuration=300\r\nFadeoutAnimation=OFF\r\n' >"$app/settings.ini"

echo "measure: ${seconds} s per phase under Wine on display $DISPLAY; clock ticks of ${hz} Hz"
printf '%-34s %10s %9s %12s %10s\n' "" "process" "process" "wineserver" "wineserver"
printf '%-34s %10s %9s %12s %10s\n' "" "switches/s" "CPU %" "switches/s" "CPU %"
sleep "$settle"
measure ""
start_program "$app" wine "$build/bench/win/idle_poll_probe.exe" bare $((seconds + settle + 10))
measure "bare message loop"
stop_program
start_program "$app" wine "$build/bench/win/idle_poll_probe.exe" literal $((seconds + settle + 10))
measure "literal poll (248 GetKeyState)"
stop_program

declare -A latency
for source in poll hook raw-input; do
  start_program "$app" env LOCKBEACON_KEY_SOURCE="$source" wine "$app/LockBeacon.exe"
  sleep 1  # the start display hides after 300 ms
  measure "LockBeacon.exe, $source"
  latency[$source]=$(wine "$build/bench/win/key_latency_probe.exe" "$presses" 2>/dev/null | tr -d '\r' || true)
  stop_program
done
echo
echo "Caps Lock press to indicator visible ($presses presses each):"
for source in poll hook raw-input; do
  printf '  %-10s %s\n' "$source" "${latency[$source]}"
done
