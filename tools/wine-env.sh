#!/usr/bin/env bash
# The Wine environment of one test run: a private prefix, one Xvfb and one persistent
# wineserver, all under build/wine (or $LOCKBEACON_WINE_DIR). Never touches the user's own
# Wine prefix or X display.
#
#   tools/wine-env.sh start    create it (a fresh prefix) unless it is running already
#   tools/wine-env.sh stop     end the wineserver, Xvfb and compositor of this run
#   tools/wine-env.sh env      print the variables that reach it, for `eval`
#
# tools/wine-run starts it on demand, so `ctest` alone works too; `make test` starts it before
# the tests and stops it after them.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_dir=${LOCKBEACON_WINE_DIR:-$repo/build/wine}
state="$wine_dir/state"

log() { printf 'wine-env: %s\n' "$*" >&2; }

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

load_state() {
  XVFB_PID= COMPMGR_PID= DISPLAY_NUM= KEEPER_PGID=
  # shellcheck disable=SC1090
  [ -f "$state" ] && . "$state"
  return 0
}

print_env() {
  load_state
  cat <<VARS
# A clean Windows 10 has no proxy of the caller's: Wine's WinHTTP would read one from these.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY
export WINEPREFIX='$wine_dir/prefix'
export DISPLAY=':$DISPLAY_NUM'
export WINEDEBUG='${WINEDEBUG:--all}'
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINEARCH=win64
# Programs under test talk to a stand-in server, never to the maker's: by default to a port
# where nothing listens; a test that starts the stand-in names its port.
export LOCKBEACON_SERVER_HOST='${LOCKBEACON_SERVER_HOST:-localhost:9}'
# Programs under test poll the lock keys unless a test names another source of key presses:
# Wine hands raw input out only while some window is the foreground window, and in this
# desktop without a window manager none is unless a test makes one.
export LOCKBEACON_KEY_SOURCE='${LOCKBEACON_KEY_SOURCE:-poll}'
VARS
}

running() {
  load_state
  alive "$XVFB_PID" && [ -f "$wine_dir/prefix.ready" ]
}

start() {
  mkdir -p "$wine_dir"
  exec 9>"$wine_dir/.lock"
  flock 9
  if running; then return 0; fi
  stop_unlocked

  local t0=$SECONDS n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$wine_dir/xvfb.log" 2>&1 9>&- &
  local xvfb=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    alive "$xvfb" || { log "Xvfb did not start: $(cat "$wine_dir/xvfb.log")"; exit 1; }
    sleep 0.05
  done
  local compmgr=
  if command -v xcompmgr >/dev/null; then
    DISPLAY=":$n" xcompmgr </dev/null >/dev/null 2>&1 9>&- &
    compmgr=$!
  fi
  printf 'XVFB_PID=%s\nCOMPMGR_PID=%s\nDISPLAY_NUM=%s\n' "$xvfb" "$compmgr" "$n" >"$state"

  eval "$(print_env)"
  rm -rf "$WINEPREFIX" "$wine_dir/prefix.ready"
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 9>&-
  wineboot -i </dev/null >"$wine_dir/wineboot.log" 2>&1 9>&- || { log "wineboot failed: $(tail -5 "$wine_dir/wineboot.log")"; exit 1; }
  # Without a window manager every SW_HIDE of a managed window costs two seconds; silence
  # the sound driver's complaints when the machine has no sound device; a program that crashes
  # ends at once: its "debugger" is a command that does nothing (Wine's own, winedbg, waits
  # until the test's time-out).
  cat >"$wine_dir/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="cmd.exe /c rem %ld %ld"
"Auto"="1"
REG
  wine regedit /S "$(winepath -w "$wine_dir/settings.reg" 2>/dev/null)" >/dev/null 2>&1 9>&-
  # A new prefix says it is Windows 7; the program is made for Windows 10 and 11.
  wine winecfg -v win10 </dev/null >/dev/null 2>&1 9>&-
  # Wine shuts its desktop and services down whenever no Wine program runs, and the next
  # program then waits about ten seconds for them to come back. One idle program kept running
  # for the whole test run keeps them up.
  setsid bash -c 'sleep infinity | wine cmd /c pause' </dev/null >/dev/null 2>&1 9>&- &
  printf 'KEEPER_PGID=%s\n' "$!" >>"$state"
  touch "$wine_dir/prefix.ready"
  log "ready on display :$n in $((SECONDS - t0)) s (prefix $WINEPREFIX)"
}

stop_unlocked() {
  load_state
  [ -n "$KEEPER_PGID" ] && kill -- "-$KEEPER_PGID" 2>/dev/null || true
  if [ -d "$wine_dir/prefix" ]; then
    WINEPREFIX="$wine_dir/prefix" wineserver -k >/dev/null 2>&1 || true
  fi
  alive "$COMPMGR_PID" && kill "$COMPMGR_PID" 2>/dev/null || true
  alive "$XVFB_PID" && kill "$XVFB_PID" 2>/dev/null || true
  rm -f "$state" "$wine_dir/prefix.ready"
}

stop() {
  mkdir -p "$wine_dir"
  exec 9>"$wine_dir/.lock"
  flock 9
  stop_unlocked
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  env) print_env ;;
  *) echo "usage: $0 start|stop|env" >&2; exit 2 ;;
esac
