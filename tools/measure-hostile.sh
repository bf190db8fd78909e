#!/usr/bin/env bash
# Measures each request of the program against a stand-in server that misbehaves (hangs,
# trickles, sends a huge body or a gzip bomb, invalid UTF-8, an overlong version, a certificate
# nobody trusts or one for another host): how long every attempt took against its bound and how
# much the process's private memory grew. Prints a table; asserts nothing.
#   tools/measure-hostile.sh   (needs a built windows preset; takes about two minutes)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
probe="$repo/build/windows/bench/win/hostile_server_probe.exe"
[ -f "$probe" ] || { echo "measure: $probe is missing; run make build first" >&2; exit 1; }

export LOCKBEACON_WINE_DIR="$repo/build/measure"
trap '"$repo/tools/wine-env.sh" stop >/dev/null 2>&1 || true' EXIT
"$repo/tools/wine-env.sh" start
eval "$("$repo/tools/wine-env.sh" env)"
wine "$probe"
