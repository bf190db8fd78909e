#!/usr/bin/env bash
# Makes the two sounds delivered beside the exe, resources/deliver/keypress-on.wav and
# keypress-off.wav: short two-tone clicks, rising and bright for "on", falling and lower for
# "off". Each tone starts at once and dies away quickly, so the pair reads as one soft click
# rather than a beep. 16-bit PCM, mono, 44.1 kHz, about 120 ms. Needs sox; the files are
# committed, so the build does not. Dithering is off, so every run gives the same bytes.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/resources/deliver"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

format=(-r 44100 -c 1 -b 16 -e signed-integer)

# tone FILE FREQUENCY SECONDS: a sine with a smooth 4 ms attack and a logarithmic decay over
# the rest, with a quiet octave above it for a little body.
tone() {
  local file=$1 freq=$2 len=$3
  sox -D -n "${format[@]}" "$work/fund.wav" synth "$len" sine "$freq"
  sox -D -n "${format[@]}" "$work/oct.wav" synth "$len" sine "$((freq * 2))" gain -14
  sox -D -m "$work/fund.wav" "$work/oct.wav" "${format[@]}" "$file" \
    fade q 0.004 fade l 0 0 "$(awk "BEGIN { print $len - 0.004 }")" gain -9
}

# click NAME FIRST SECOND: the first tone (45 ms), then the second (75 ms) overlapping its tail.
click() {
  local name=$1 first=$2 second=$3
  tone "$work/a.wav" "$first" 0.045
  tone "$work/b.wav" "$second" 0.075
  sox -D "${format[@]}" -n "$work/silence.wav" trim 0 0.035
  sox -D "$work/silence.wav" "$work/b.wav" "$work/b-late.wav"
  sox -D -m "$work/a.wav" "$work/b-late.wav" "${format[@]}" "$out/$name" norm -6
}

click keypress-on.wav 988 1319    # B5 up to E6
click keypress-off.wav 784 523    # G5 down to C5
for f in keypress-on.wav keypress-off.wav; do
  printf '%s: ' "$f"
  soxi -D "$out/$f" | tr '\n' ' '
  stat -c '%s bytes' "$out/$f"
done
