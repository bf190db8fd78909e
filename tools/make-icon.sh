#!/usr/bin/env bash
# Draws the program icon, resources/lock_beacon.ico: a dark rounded square with three small LEDs
# (green, green, grey), the indicator window in miniature. Each size is drawn large and scaled
# down, so the small sizes stay smooth. Needs ImageMagick; the .ico is committed, so the build
# does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/lock_beacon.ico"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

master=1024
# Geometry in master pixels.
margin=40                  # around the square
radius=180                 # of the square's corners
led=236                    # LED diameter
centres=(214 512 810)      # LED centres, x; all at y = 512
colours=("#2fe04f" "#2fe04f" "#5a5f66")
rims=("#17892b" "#17892b" "#34383d")

draw=(-fill "#1c1f24" -stroke "#3b414a" -strokewidth 16
      -draw "roundrectangle $margin,$margin $((master - margin)),$((master - margin)) $radius,$radius")
r=$((led / 2))
for i in 0 1 2; do
  cx=${centres[$i]}
  draw+=(-fill "${colours[$i]}" -stroke "${rims[$i]}" -strokewidth 18
         -draw "circle $cx,512 $((cx + r)),512")
  # A soft highlight at the upper left makes the LED read as a lamp, not a dot.
  draw+=(-fill "#ffffff55" -stroke none
         -draw "ellipse $((cx - r / 3)),$((512 - r / 3)) $((r / 3)),$((r / 4)) 0,360")
done
convert -size ${master}x${master} xc:none "${draw[@]}" "$work/master.png"

sizes=(16 20 24 32 40 48 64 256)   # 100-200 % DPI for the small and large icons
images=()
for s in "${sizes[@]}"; do
  convert "$work/master.png" -filter Box -resize ${s}x${s} -strip -depth 8 "PNG32:$work/icon-$s.png"
  images+=("$work/icon-$s.png")
done
# The 256-pixel image is stored as PNG inside the .ico, the smaller ones as bitmaps.
convert "${images[@]}" "$out"
identify "$out"
