#!/usr/bin/env bash
# Draws the feedback dialog's pictures, resources/feedback/*.png, from the Fluent System Icons
# (the npm package @fluentui/svg-icons, MIT licence; notice in resources/notices/, gathered into
# license.txt by tools/make-license.py): the laughing face of "I like it!" and the frowning face
# of "I dislike it!" at 32 and 64 pixels, tinted so that they read on the button face and on the
# selection colour, and the envelope of "Send" at 16 and 32 pixels. Sizes between are resampled
# from the larger one. Needs npm (with Node.js) and rsvg-convert (librsvg2-bin, installed by
# tools/setup.sh); the PNGs are committed, so the build does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/feedback"
version=1.1.343
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "@fluentui/svg-icons@$version" >/dev/null)
tar -xzf "$work"/fluentui-svg-icons-*.tgz -C "$work"
icons="$work/package/icons"

# picture name, Fluent icon, tint ("-" keeps the icon's own colours), sizes
pictures=(
  "like emoji_laugh_24_regular #d08000 32 64"
  "dislike emoji_sad_24_regular #c03030 32 64"
  "send mail_16_color - 16 32"
)
mkdir -p "$out"
for entry in "${pictures[@]}"; do
  read -r name icon tint sizes <<<"$entry"
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
echo "feedback pictures written to $out"
