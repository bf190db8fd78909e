#!/usr/bin/env bash
# Starts the built LockBeacon.exe under Wine.
#   With an X display ($DISPLAY): on that display, in the user's usual Wine prefix.
#   Without one: in a private Xvfb and prefix under build/run, with a screenshot taken after start.
# The program runs until it is closed from its menu (or Ctrl+C here).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
exe="$repo/build/windows/LockBeacon.exe"
[ -f "$exe" ] || { echo "run: $exe is missing; build first (make run does)" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  echo "run: starting LockBeacon.exe on display $DISPLAY"
  exec env WINEDEBUG="${WINEDEBUG:--all}" wine "$exe"
fi

export LOCKBEACON_WINE_DIR="$repo/build/run"
trap '"$repo/tools/wine-env.sh" stop' EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"

wine "$exe" &
app=$!
sleep 3
shot="$LOCKBEACON_WINE_DIR/screenshot.png"
import -window root "$shot" 2>/dev/null || true
echo "run: no X display, so LockBeacon.exe runs in a private Xvfb on display $DISPLAY"
echo "run: screenshot after start: $shot"
echo "run: press Ctrl+C to stop it"
wait "$app" || true
