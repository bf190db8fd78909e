#!/usr/bin/env bash
# Remakes the README's pictures (docs/images/*.png) from the real LockBeacon.exe of the windows
# preset under Wine, in a private Xvfb and prefix (build/screenshots), at 96 DPI:
#   indicator.png          the indicator just after Caps Lock was pressed
#   indicator-minimal.png  the same in minimal mode
#   tray-lamps.png         the notification-area icon before and after the press, enlarged
#   tray-menu.png          the menu of a right click on that icon
# Caps Lock is pressed inside Wine by bench/win/key_latency_probe.exe (SendInput, as a user
# types); the pictures are cut from the screen with ImageMagick's import, as tools/run.sh takes
# its screenshot. `make screenshots` builds what is missing first.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build/windows"
exe="$build/LockBeacon.exe"
probe="$build/bench/win/key_latency_probe.exe"
out="$repo/docs/images"
work="$repo/build/screenshots"
for f in "$exe" "$probe"; do
  [ -f "$f" ] || { echo "screenshots: $f is missing; build first (make screenshots does)" >&2; exit 1; }
done

log() { printf 'screenshots: %s\n' "$*"; }

export LOCKBEACON_WINE_DIR="$work/wine"
trap '"$repo/tools/wine-env.sh" stop' EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"
mkdir -p "$out"

# The geometry (WxH+X+Y) of the largest X window of the program whose name matches $1 (a
# regular expression of xwininfo's quoted name, or "(has no name)").
geometry_of() {
  xwininfo -root -children 2>/dev/null | grep -F '("lockbeacon.exe"' | grep -E "$1" |
    grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' |
    awk -Fx '{ split($2, r, "+"); print $1 * r[1], $0 }' | sort -n | tail -1 | cut -d' ' -f2 ||
    true
}

# Waits until geometry_of $1 names a window larger than one pixel; prints its geometry.
wait_for_window() {
  local g
  for _ in $(seq 1 100); do
    g=$(geometry_of "$1")
    if [ -n "$g" ] && [ "${g%%+*}" != "1x1" ]; then echo "$g"; return 0; fi
    sleep 0.1
  done
  echo "screenshots: no window $1 appeared" >&2
  return 1
}

# Cuts the area $1 (WxH+X+Y) out of the screen into $2.
shoot() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$1" +repage -strip "$2"
}

# The notification area's first icon, from Wine's own tray window (the desktop has no taskbar).
tray_icon_area() {
  local g
  g=$(xwininfo -root -children | grep -F '"Wine System Tray"' | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+')
  local x=${g#*+}; local y=${x#*+}; x=${x%%+*}
  local h=${g%%+*}; h=${h#*x}
  echo "${h}x${h}+${x}+${y}"
}

# A fresh program folder with the given settings.ini lines, started; waits for its start
# display to hide again (a short display duration, no fade-out) so that the press shows it.
start_program() {
  local app="$work/app"
  rm -rf "$app"
  mkdir -p "$app"
  cp "$exe" "$app/"
  cp -r "$repo/resources/deliver/." "$app/"
  {
    printf '[Settings]\r\nDisplayDuration=4000\r\nFadeoutAnimation=OFF\r\n'
    for line in "$@"; do printf '%s\r\n' "$line"; done
  } >"$app/settings.ini"
  (cd "$app" && exec wine LockBeacon.exe </dev/null >/dev/null 2>&1 &)
  wait_for_window '"Lock Beacon"' >/dev/null
}

stop_program() {
  wine taskkill /im LockBeacon.exe >/dev/null 2>&1 || true
  for _ in $(seq 1 100); do
    [ -z "$(geometry_of '.')" ] && return 0
    sleep 0.1
  done
}

# One Caps Lock press from inside Wine, once the indicator has hidden; the indicator then shows
# for its display duration.
press_caps_lock() {
  wine "$probe" 1 </dev/null >/dev/null 2>&1
  sleep 0.5
}

# Whether the picture $1 shows a lit (green) LED.
shows_lit_led() {
  [ "$(convert "$1" -fx 'g > 0.7 && r < 0.3 && b < 0.3' -format '%[fx:maxima]' info:)" != 0 ]
}

# Presses Caps Lock until the indicator shows it on (Wine may have taken its state back from the
# X server meanwhile) and cuts the indicator out into $1.
shoot_indicator_with_caps_lock_on() {
  for _ in 1 2 3; do
    press_caps_lock
    shoot "$(wait_for_window '"Lock Beacon"')" "$1"
    shows_lit_led "$1" && return 0
  done
  echo "screenshots: Caps Lock does not show as on" >&2
  return 1
}

log "the indicator and the tray lamps"
start_program
sleep 1
area=$(tray_icon_area)
shoot "$area" "$work/lamps-before.png"
shoot_indicator_with_caps_lock_on "$out/indicator.png"
shoot "$area" "$work/lamps-after.png"
convert "$work/lamps-before.png" "$work/lamps-after.png" -filter point -resize 400% \
  -bordercolor white -border 8 +append -strip "$out/tray-lamps.png"

log "the tray menu"
# A right click on the icon, where Wine's tray window shows it.
x=${area#*+}; y=${x#*+}; x=${x%%+*}; size=${area%%x*}
xdotool mousemove $((x + size / 2)) $((y + size / 2)) click 3
menu=$(wait_for_window '\(has no name\)')
sleep 0.5
shoot "$menu" "$out/tray-menu.png"
xdotool key Escape
stop_program

log "the indicator in minimal mode"
start_program "Minimal Mode=ON"
shoot_indicator_with_caps_lock_on "$out/indicator-minimal.png"
stop_program

for f in indicator indicator-minimal tray-lamps tray-menu; do
  log "$out/$f.png: $(identify -format '%wx%h' "$out/$f.png"), $(stat -c %s "$out/$f.png") bytes"
done
