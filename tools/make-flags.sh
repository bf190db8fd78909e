#!/usr/bin/env bash
# Draws the language chooser's flag pictures, resources/flags/*.png, 48 by 48 pixels with
# transparency, from the flag set of the npm package flag-icons (MIT licence; notice in
# resources/notices/, gathered into license.txt by tools/make-license.py). Each flag keeps its
# 4:3 shape, centred between transparent bands. "flag" (English) is half Stars and Stripes, half
# Union Flag; "xx" is a blank white flag with a thin grey edge. Needs npm (with Node.js) and
# rsvg-convert (librsvg2-bin, installed by tools/setup.sh); the PNGs are committed, so the build
# does not.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/flags"
version=7.6.0
size=48
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "flag-icons@$version" >/dev/null)
tar -xzf "$work"/flag-icons-*.tgz -C "$work"
flags="$work/package/flags/4x3"

# A flag's drawing (its 640 by 480 SVG without the XML declaration), for nesting in another SVG.
body() {
  sed -e '/<?xml/d' -e '0,/<svg /s//<svg x="0" y="0" width="640" height="480" /' "$flags/$1.svg"
}

# Renders an SVG whose content is drawn on 640 by 480 units into a square picture: the flag in
# the middle, transparent above and below.
render() {
  local name=$1 content=$2
  printf '%s\n' \
    '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" viewBox="0 -80 640 640">' \
    "$content" '</svg>' >"$work/$name.svg"
  rsvg-convert --width "$size" --height "$size" --format png --output "$out/$name.png" \
    "$work/$name.svg"
}

mkdir -p "$out"
for code in de fr tr al sa bg cn tw cz nl fi gr il hu it jp kr ir pl br pt ru si es se ua vi us; do
  render "$code" "$(body "$code")"
done
render flag "<defs><clipPath id=\"left\"><rect width=\"320\" height=\"480\"/></clipPath>
<clipPath id=\"right\"><rect x=\"320\" width=\"320\" height=\"480\"/></clipPath></defs>
<g clip-path=\"url(#left)\">$(body us)</g><g clip-path=\"url(#right)\">$(body gb)</g>"
render xx '<rect x="8" y="8" width="624" height="464" fill="#fff" stroke="#adb5bd" stroke-width="16"/>'

# The licence notice of the set.
{
  echo "flag-icons - language flags"
  echo
  echo "The flag pictures of the language chooser (resources/flags/*.png) are drawn by"
  echo "tools/make-flags.sh from flag-icons $version, npm package flag-icons, under this licence:"
  echo
  cat "$work/package/LICENSE"
} >"$repo/resources/notices/flag-icons.txt"
echo "flag pictures written to $out"
