#!/usr/bin/env bash
# Prepares this machine for building and testing Lock Beacon:
#   1. the Debian packages the build and the tests need;
#   2. PCRE2, libpng and GoogleTest cross-built for MinGW-w64 into a cache folder
#      outside the source tree (from Debian's source packages).
# Idempotent: when everything is in place it only checks and returns in about a second.
#
# Environment:
#   LOCKBEACON_DEPS   cache folder for the cross-built libraries
#                     (default: ${XDG_CACHE_HOME:-$HOME/.cache}/lock-beacon/deps)
set -euo pipefail

deps_root=${LOCKBEACON_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/lock-beacon/deps}
prefix="$deps_root/mingw64"
stamp_version=3   # bump when the way the libraries are built changes

log() { printf 'setup: %s\n' "$*"; }

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

packages=(
  # native build and tests
  build-essential cmake ninja-build pkg-config
  # compiler cache: rebuilds in another clone or worktree of the tree reuse earlier objects
  ccache
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpcre2-dev libpng-dev zlib1g-dev
  # the fuzzing harnesses of the parsers (make fuzz; their corpora run in make test):
  # clang 14 and its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
  # Windows cross build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  # running and looking at the Windows build
  wine wine64 xvfb xdotool imagemagick xcompmgr x11-utils
  # the stand-in web server of the network tests (tools/standin_server.py)
  python3 openssl
  # drawing the menu and feedback pictures (tools/make-fluent-icons.sh, which also needs npm: the machine's
  # Node.js brings it, and Debian's npm package would conflict with that Node.js)
  librsvg2-bin
  # generating the delivered sounds (tools/make-sounds.sh)
  sox
  # the setup (installer/lock_beacon.nsi, built beside the zip; makensis runs on Linux)
  nsis
  # reading the shipped files as Windows' loader does (tools/check-pe.py, with /usr/bin/python3)
  # and signing them with Authenticode (tools/sign-pe.sh)
  python3-pefile osslsigncode
  # the package managers' manifests of `make package` and their check against the schemas
  # (tools/make-manifests.py, tools/check-manifests.py)
  python3-yaml python3-jsonschema
  # fetching and unpacking source packages
  dpkg-dev
  # the lettering of the logo (tools/make-logo.sh)
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

apt_updated=0
apt_update() {
  if [ "$apt_updated" -eq 0 ]; then
    log "updating the package lists"
    "${sudo_cmd[@]}" apt-get update -q
    apt_updated=1
  fi
}

if [ "${#missing[@]}" -gt 0 ]; then
  apt_update
  log "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# ---------------------------------------------------------------------------------------------
# Cross-built libraries.
stamp="$prefix/.complete-v$stamp_version"
if [ -f "$stamp" ]; then
  exit 0
fi

# A deb-src entry for the same suites as the machine's own binary entries, so that
# `apt-get source` can fetch Debian's sources of PCRE2 and libpng.
ensure_source_entries() {
  if [ -n "$(apt-cache showsrc pcre2 2>/dev/null | head -n 1)" ]; then return 0; fi
  local target=/etc/apt/sources.list.d/lock-beacon-src
  local tmp; tmp=$(mktemp -d)
  shopt -s nullglob
  # deb822 files: copy every enabled stanza whose Types include "deb", as "deb-src".
  for f in /etc/apt/sources.list.d/*.sources; do
    case "$f" in "$target".sources) continue ;; esac
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ && !/(^|\n)Enabled:[[:space:]]*no/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" >>"$tmp/src.sources"
  done
  # one-line files: every "deb" line again as "deb-src".
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    case "$f" in "$target".list) continue ;; esac
    sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' "$f" >>"$tmp/src.list"
  done
  shopt -u nullglob
  [ -s "$tmp/src.sources" ] && "${sudo_cmd[@]}" install -m 0644 "$tmp/src.sources" "$target.sources"
  [ -s "$tmp/src.list" ] && "${sudo_cmd[@]}" install -m 0644 "$tmp/src.list" "$target.list"
  rm -rf "$tmp"
  log "added source entries derived from the machine's package sources"
  apt_updated=0
  apt_update
}

src_dir="$deps_root/src"
build_dir="$deps_root/build"
mkdir -p "$src_dir" "$build_dir" "$prefix"

fetch_source() {  # source-package folder-prefix -> prints the unpacked folder
  local pkg=$1 dir_prefix=$2 existing
  existing=$(find "$src_dir" -maxdepth 1 -mindepth 1 -type d -name "$dir_prefix-*" | head -n 1)
  if [ -n "$existing" ]; then echo "$existing"; return 0; fi
  ensure_source_entries >&2
  # Newest version first; a mirror may lack the newest one (a security update, say), so try the
  # others the package lists know before giving up.
  local versions v fetched=0
  versions=$(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV | uniq)
  for v in $versions; do
    rm -f "$src_dir/${pkg}_"*
    if ( cd "$src_dir" && apt-get source --download-only -q "$pkg=$v" >&2 ); then fetched=1; break; fi
    log "could not fetch $pkg $v, trying an older version" >&2
  done
  [ "$fetched" -eq 1 ] || { log "could not fetch the source of $pkg" >&2; return 1; }
  local dsc
  dsc=$(find "$src_dir" -maxdepth 1 -name "${pkg}_*.dsc" | sort | tail -n 1)
  ( cd "$src_dir" && dpkg-source --no-check -x "$(basename "$dsc")" >&2 )
  existing=$(find "$src_dir" -maxdepth 1 -mindepth 1 -type d -name "$dir_prefix-*" | head -n 1)
  [ -n "$existing" ] || { log "unpacking $pkg gave no folder" >&2; return 1; }
  echo "$existing"
}

toolchain="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64-x86_64.cmake"
sysroot=/usr/x86_64-w64-mingw32

cross_build() {  # name source-folder cmake-args...
  local name=$1 src=$2; shift 2
  log "cross-building $name"
  rm -rf "${build_dir:?}/$name"
  cmake -S "$src" -B "$build_dir/$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >/dev/null
  cmake --build "$build_dir/$name" >/dev/null
  cmake --install "$build_dir/$name" >/dev/null
}

pcre2_src=$(fetch_source pcre2 pcre2)
libpng_src=$(fetch_source libpng1.6 libpng1.6)

cross_build pcre2 "$pcre2_src" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DPCRE2_BUILD_PCRE2_8=ON \
  -DPCRE2_BUILD_PCRE2_16=OFF -DPCRE2_BUILD_PCRE2_32=OFF -DPCRE2_BUILD_PCRE2GREP=OFF \
  -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_JIT=ON

cross_build libpng "$libpng_src" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
  -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include"

cross_build googletest /usr/src/googletest \
  -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF

touch "$stamp"
log "libraries ready in $prefix"
