#!/usr/bin/env bash
# Draws the pictures taken from the Fluent System Icons (the npm package @fluentui/svg-icons,
# MIT licence; notice in resources/notices/, gathered into license.txt by tools/make-license.py):
# - the popup menu's, resources/menu/*.png: "about", "exit", "feedback", "flag" and "help" at 16
#   and 32 pixels (100 % and 200 %; sizes between are resampled from the larger one),
#   "handclick" and "settings48" at 48 pixels, drawn reduced;
# - the feedback dialog's, resources/feedback/*.png: the laughing face of "I like it!" and the
#   frowning face of "I dislike it!" at 32 and 64 pixels, tinted so that they read on the button
#   face and on the selection colour, and the envelope of "Send" at 16 and 32 pixels.
# Needs npm (with Node.js) and rsvg-convert (librsvg2-bin, installed by tools/setup.sh); the PNGs
# are committed, so the build does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
version=1.1.343
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "@fluentui/svg-icons@$version" >/dev/null)
tar -xzf "$work"/fluentui-svg-icons-*.tgz -C "$work"
icons="$work/package/icons"

# folder under resources/, picture name, Fluent icon, tint ("-" keeps the icon's own colours),
# sizes
pictures=(
  "menu about info_16_regular - 16 32"
  "menu exit door_arrow_right_16_regular - 16 32"
  "menu feedback person_feedback_16_color - 16 32"
  "menu flag flag_16_color - 16 32"
  "menu help question_circle_16_color - 16 32"
  "menu handclick tap_single_48_regular - 48"
  "menu settings48 settings_48_color - 48"
  "feedback like emoji_laugh_24_regular #d08000 32 64"
  "feedback dislike emoji_sad_24_regular #c03030 32 64"
  "feedback send mail_16_color - 16 32"
)
for entry in "${pictures[@]}"; do
  read -r folder name icon tint sizes <<<"$entry"
  out="$repo/resources/$folder"
  mkdir -p "$out"
  svg="$icons/$icon.svg"
  if [ "$tint" != "-" ]; then
    sed "s/<svg /<svg fill=\"$tint\" /" "$svg" >"$work/$name.svg"
    svg="$work/$name.svg"
  fi
  for size in $sizes; do
    rsvg-convert --width "$size" --height "$size" --format png \
      --output "$out/${name}_${size}.png" "$svg"
  done
done
echo "pictures written to $repo/resources/menu and $repo/resources/feedback"
