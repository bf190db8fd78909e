#!/usr/bin/env bash
# What the program costs in memory and start time, under Wine, beside the least programs of its
# kind (bench/win): a bare window with a message loop (user32 only) and the least tray program
# (common controls 6 through the same manifest, a tray icon, a layered top-most window shown).
#
#   1. At start, with the update check switched off (ShowUpdate = 0 in the update store) and a
#      settings.ini of its own in a temporary folder: each program's private memory (RssAnon in
#      /proc/PID/status of its Wine process) four seconds after its window is visible, and the
#      time from launch to a visible window (the best and the median of RUNS launches, the programs taking turns) - LockBeacon.exe as
#      `make package` ships it (build/release/ship).
#   2. The windows preset's LockBeacon.exe, pointed at the stand-in server (which offers a new
#      version), after a day's work in a minute, twice in a row: PRESSES lock-key presses, every
#      window opened and closed (Settings, About, language chooser, feedback, tray menu) and the
#      update notice of its update check closed. Wine's heap keeps freed blocks and the TLS stack
#      stays loaded after the first check: the second round's growth is the one that counts.
#   3. For each, where the private memory goes (tools/memory-breakdown.py): heaps by HeapWalk,
#      modules' private pages, thread stacks, pictures, GDI objects, Wine's own share.
#
#   tools/measure-memory.sh [RUNS] [PRESSES]   (defaults 7 and 200; make measure-memory builds first)
# Prints tables; asserts nothing.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
presses=${2:-200}
settle=4
build="$repo/build/windows"
probes="$build/bench/win"
release=${LOCKBEACON_MEASURE_EXE:-$repo/build/release/ship/LockBeacon.exe}
for f in "$build/LockBeacon.exe" "$probes/memory_probe.exe" "$probes/memory_report.dll" \
  "$probes/bare_window_probe.exe" "$probes/least_tray_probe.exe" "$release"; do
  [ -f "$f" ] || { echo "measure: $f is missing; run make measure-memory" >&2; exit 1; }
done

export LOCKBEACON_WINE_DIR="$repo/build/measure-memory"
work="$LOCKBEACON_WINE_DIR/run"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  "$repo/tools/wine-env.sh" stop >/dev/null 2>&1 || true
}
trap cleanup EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"
rm -rf "$work" && mkdir -p "$work"
probe="$probes/memory_probe.exe"
report_dll=$(winepath -w "$probes/memory_report.dll" 2>/dev/null)
store='HKCU\Software\BRIMLEX\Lock Beacon\Settings'

# The Linux process whose command line is the Windows path $1 (each program runs from a folder
# of its own under $work).
linux_pid() {
  local pid
  for pid in $(pgrep -f "$(basename "${1//\\//}")" || true); do
    if tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1 | grep -qiF "$1"; then
      echo "$pid"
      return
    fi
  done
}
rss_anon() { awk '/^RssAnon:/ { print $2 }' "/proc/$1/status"; }

# install NAME EXE: a copy of EXE in a folder of its own (for LockBeacon.exe with the files
# delivered beside it and a settings.ini there, which makes it the settings folder); prints the
# copy's Windows path.
install() {
  local dir="$work/$1"
  mkdir -p "$dir"
  cp "$2" "$dir/"
  case "$(basename "$2")" in
    LockBeacon.exe)
      cp -r "$repo/resources/deliver/." "$dir/"
      printf '[Settings]\r\n' >"$dir/settings.ini"
      ;;
  esac
  winepath -w "$dir/$(basename "$2")" 2>/dev/null
}

# launch WINPATH: starts it and waits for its window; sets win_pid, unix_pid, launch_ms.
launch() {
  local out="$work/launch.txt"
  wine "$probe" launch "$1" >"$out"
  read -r win_pid launch_ms <"$out"
  launch_ms=${launch_ms%$'\r'}
  unix_pid=""
  for _ in $(seq 1 50); do
    unix_pid=$(linux_pid "$1")
    [ -n "$unix_pid" ] && break
    sleep 0.1
  done
  [ -n "$unix_pid" ] || { echo "measure: no Linux process for $1" >&2; exit 1; }
}
stop() {
  kill "$unix_pid" 2>/dev/null || true
  while kill -0 "$unix_pid" 2>/dev/null; do sleep 0.1; done
}
median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
least() { tr ' ' '\n' | sed '/^$/d' | sort -n | head -1; }

breakdowns="$work/breakdowns.txt"
: >"$breakdowns"
breakdown() {  # LABEL: the report of the running program, appended to $breakdowns
  wine "$probe" report "$win_pid" "$report_dll" | tr -d '\r' >"$work/report.txt"
  { python3 "$repo/tools/memory-breakdown.py" "$unix_pid" "$work/report.txt" --label "$1"; echo; } >>"$breakdowns"
}

# ---- at start ----------------------------------------------------------------------------
wine reg add "$store" /v ShowUpdate /t REG_SZ /d 0 /f >/dev/null 2>&1
declare -A memory times
labels=("bare window (user32 only)" "least tray program" "LockBeacon.exe (release)")
sources=("$probes/bare_window_probe.exe" "$probes/least_tray_probe.exe" "$release")
declare -A all_times paths
for i in 0 1 2; do
  paths[$i]=$(install "start-$i" "${sources[$i]}")
done
# The programs take turns, so that whatever else the machine does slows each of them alike.
for run in $(seq 1 "$runs"); do
  for i in 0 1 2; do
    label=${labels[$i]}
    launch "${paths[$i]}"
    all_times[$label]+=" $launch_ms"
    if [ "$run" -eq "$runs" ]; then
      sleep "$settle"
      memory[$label]=$(rss_anon "$unix_pid")
      breakdown "$label"
    fi
    stop
  done
done
for label in "${labels[@]}"; do
  times[$label]="$(echo "${all_times[$label]}" | least) $(echo "${all_times[$label]}" | median)"
done

echo
echo "At start (update check off), under Wine. Launch to visible window over $runs launches each:"
echo "the best (the launch least disturbed by the rest of the machine) and the median."
printf '%-34s %16s %12s %12s\n' "program" "private memory" "best" "median"
for label in "${labels[@]}"; do
  read -r best middle <<<"${times[$label]}"
  printf '%-34s %13s kB %9s ms %9s ms\n' "$label" "${memory[$label]}" "$best" "$middle"
done
tray=${memory[${labels[1]}]}
own=${memory[${labels[2]}]}
read -r bare_best bare_median <<<"${times[${labels[0]}]}"
read -r own_best own_median <<<"${times[${labels[2]}]}"
awk -v own="$own" -v tray="$tray" -v ob="$own_best" -v om="$own_median" -v bb="$bare_best" \
  -v bm="$bare_median" 'BEGIN {
  printf "LockBeacon.exe above the least tray program: %d kB (target at most 1024 kB)\n", own - tray
  printf "LockBeacon.exe launch to shown: %.2f x the bare window at best, %.2f x in the median (target at most 1.5 x)\n", ob / bb, om / bm }'

# ---- a day's work in a minute, twice ---------------------------------------------------------
# (LOCKBEACON_MEASURE_START_ONLY=1 stops after the start; LOCKBEACON_MEASURE_EXE names another
# release exe to measure, an earlier build for example.)
if [ -n "${LOCKBEACON_MEASURE_START_ONLY:-}" ]; then
  echo
  cat "$breakdowns"
  exit 0
fi
server_dir="$work/standin"
mkdir -p "$server_dir"
python3 "$repo/tools/standin_server.py" --port-file "$server_dir/port" --host-file "$server_dir/host" \
  --log "$server_dir/log" --ca-dir "$LOCKBEACON_WINE_DIR/ca" --offer 9.9 --lifetime 900 \
  >"$server_dir/out" 2>&1 &
server_pid=$!
for _ in $(seq 1 300); do [ -s "$server_dir/port" ] && break; sleep 0.1; done
[ -s "$server_dir/port" ] || { echo "measure: the stand-in server did not start" >&2; exit 1; }
wine "$probe" trust-ca "$(winepath -w "$LOCKBEACON_WINE_DIR/ca/ca.der" 2>/dev/null)" ||
  { echo "measure: the stand-in's test CA cannot be trusted" >&2; exit 1; }
wine reg delete "$store" /f >/dev/null 2>&1 || true
export LOCKBEACON_SERVER_HOST
LOCKBEACON_SERVER_HOST=$(cat "$server_dir/host")
path=$(install work "$build/LockBeacon.exe")
launch "$path"
sleep "$settle"
at_start=$(rss_anon "$unix_pid")
wine "$probe" work "$win_pid" "$presses"
sleep 2
after_first=$(rss_anon "$unix_pid")
wine "$probe" work "$win_pid" "$presses"
sleep 2
after_second=$(rss_anon "$unix_pid")
checks=$(grep -c '"check"' "$server_dir/log" || true)
breakdown "LockBeacon.exe (windows preset) after two rounds of a day's work"
stop

echo
echo "A day's work in a minute (windows preset, stand-in server offering 9.9: $checks update check(s)):"
printf '  %-32s %8s kB\n' "at start" "$at_start" "after the first round" "$after_first" \
  "after the second round" "$after_second"
printf '  %-32s %8s kB (target at most 256 kB)\n' "growth in the second round" $((after_second - after_first))
echo
cat "$breakdowns"
