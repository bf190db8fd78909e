#!/usr/bin/env bash
# Draws the popup menu's pictures, resources/menu/*.png, from the Fluent System Icons (the npm
# package @fluentui/svg-icons, MIT licence; notice in resources/notices/, gathered into license.txt by tools/make-license.py).
# "about", "exit", "feedback", "flag" and "help" are kept at 16 and 32 pixels (100 % and 200 %;
# sizes between are resampled from the larger one); "handclick" and "settings48" at 48 pixels,
# drawn reduced. Needs npm (with Node.js) and rsvg-convert (librsvg2-bin, installed by
# tools/setup.sh); the PNGs are committed, so the build does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/menu"
version=1.1.343
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "@fluentui/svg-icons@$version" >/dev/null)
tar -xzf "$work"/fluentui-svg-icons-*.tgz -C "$work"
icons="$work/package/icons"

# picture name, Fluent icon, sizes
pictures=(
  "about info_16_regular 16 32"
  "exit door_arrow_right_16_regular 16 32"
  "feedback person_feedback_16_color 16 32"
  "flag flag_16_color 16 32"
  "help question_circle_16_color 16 32"
  "handclick tap_single_48_regular 48"
  "settings48 settings_48_color 48"
)
mkdir -p "$out"
for entry in "${pictures[@]}"; do
  read -r name icon sizes <<<"$entry"
  for size in $sizes; do
    rsvg-convert --width "$size" --height "$size" --format png \
      --output "$out/${name}_${size}.png" "$icons/$icon.svg"
  done
done
echo "menu pictures written to $out"
