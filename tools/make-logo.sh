#!/usr/bin/env bash
# Draws the About box's logo, resources/about_logo.png: 688 by 210 pixels (twice its 344 by 105
# design size, so that it stays sharp up to 200 %), opaque. Three LEDs like the program icon's
# (green, green, grey) glow at the left of the product name on a near-black panel that fades
# into the card's black. Drawn at twice the size and scaled down for smooth edges. Needs
# ImageMagick and the DejaVu fonts; the picture is committed, so the build does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/about_logo.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

font_dir=/usr/share/fonts/truetype/dejavu
w=1376
h=420

# Background: a dark panel, a shade lighter at the top, with a thin lime rule at the bottom.
convert -size ${w}x${h} gradient:"#1d2127"-"#050607" \
  -fill "#32d74b" -draw "rectangle 96,$((h - 30)) $((w - 96)),$((h - 26))" \
  "$work/back.png"

# The LEDs, with a soft glow around the lit ones.
led=88
gap=34
cy=210
x0=156
draw=()
glow=()
colours=("#2fe04f" "#2fe04f" "#5a5f66")
rims=("#17892b" "#17892b" "#34383d")
for i in 0 1 2; do
  cx=$((x0 + i * (led + gap)))
  r=$((led / 2))
  if [ $i -lt 2 ]; then
    glow+=(-fill "#2fe04f" -draw "circle $cx,$cy $((cx + r + 10)),$cy")
  fi
  draw+=(-fill "${colours[$i]}" -stroke "${rims[$i]}" -strokewidth 7
         -draw "circle $cx,$cy $((cx + r)),$cy")
  draw+=(-fill "#ffffff66" -stroke none
         -draw "ellipse $((cx - r / 3)),$((cy - r / 3)) $((r / 3)),$((r / 4)) 0,360")
done
convert -size ${w}x${h} xc:none "${glow[@]}" -blur 0x22 "$work/glow.png"
convert -size ${w}x${h} xc:none "${draw[@]}" "$work/leds.png"

# The lettering: the product name, and the three keys beneath it.
text_x=$((x0 + 2 * (led + gap) + led / 2 + 62))
convert -size ${w}x${h} xc:none \
  -font "$font_dir/DejaVuSans-Bold.ttf" -pointsize 104 -fill "#f4f6f8" \
  -annotate +${text_x}+228 "Lock Beacon" \
  -font "$font_dir/DejaVuSans.ttf" -pointsize 38 -fill "#8fd99b" -kerning 9 \
  -annotate +$((text_x + 4))+298 "NUM  ·  CAPS  ·  SCROLL" \
  "$work/text.png"

convert "$work/back.png" "$work/glow.png" -composite "$work/leds.png" -composite \
  "$work/text.png" -composite -filter Lanczos -resize 688x210! \
  -alpha off -depth 8 -define png:color-type=2 -strip "$out"
echo "wrote $out"
