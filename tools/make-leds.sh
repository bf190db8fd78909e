#!/usr/bin/env bash
# Draws the indicator's LED pictures: a lit green disc (with a soft glow) and a dark grey disc,
# 32 by 32 design pixels with transparency, as resources/led_on_<size>.png and
# resources/led_off_<size>.png for 32, 40, 48 and 64 pixels (100, 125, 150 and 200 % DPI; the
# window scales the nearest larger one down for the sizes between). Each is drawn large and
# scaled down, so the edges stay smooth. Needs ImageMagick; the pictures are committed, so the
# build does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

master=512                 # 16 master pixels per design pixel
centre=256
radius=200                 # disc of 25 design pixels, room for the glow around it

# led NAME LIGHT DARK RIM HIGHLIGHT GLOW
led() {
  local name=$1 light=$2 dark=$3 rim=$4 highlight=$5 glow=$6
  # The body: a radial gradient whose bright centre sits up and to the left of the disc's.
  convert -size 760x760 "radial-gradient:$light-$dark" -crop ${master}x${master}+230+230 +repage \
    "$work/gradient.png"
  convert -size ${master}x${master} xc:none -fill white \
    -draw "circle $centre,$centre $((centre + radius)),$centre" "$work/mask.png"
  convert "$work/gradient.png" -alpha set "$work/mask.png" -compose DstIn -composite "$work/body.png"
  local layers=(-size ${master}x${master} xc:none)
  if [ "$glow" != none ]; then
    layers+=(\( -size ${master}x${master} xc:none -fill "$glow"
               -draw "circle $centre,$centre $((centre + radius + 36)),$centre" -blur 0x22 \)
             -composite)
  fi
  layers+=("$work/body.png" -composite
           -fill none -stroke "$rim" -strokewidth 14
           -draw "circle $centre,$centre $((centre + radius - 7)),$centre"
           -stroke none -fill "$highlight"
           -draw "ellipse $((centre - 62)),$((centre - 78)) 78,50 0,360")
  convert "${layers[@]}" "$work/$name-master.png"
  for s in 32 40 48 64; do
    convert "$work/$name-master.png" -filter Box -resize ${s}x${s} -strip \
      -define png:exclude-chunks=date,time -depth 8 "PNG32:$out/${name}_$s.png"
  done
}

led led_on "#c4ff96" "#0db82c" "#08751c" "#ffffff80" "#39ff5a9a"
led led_off "#858a92" "#34373c" "#25282c" "#ffffff30" none
identify "$out"/led_on_*.png "$out"/led_off_*.png
