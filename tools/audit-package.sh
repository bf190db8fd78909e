#!/usr/bin/env bash
# The last step of `make package`: reads the release files as Windows' loader reads them
# (tools/check-pe.py): the exe inside the zip, the setup, and the uninstaller the setup packs.
# When any fails, the zip and the setup are removed, so that no file that would not start on
# Windows, or that a planted DLL could run inside, is left to publish.
#   tools/audit-package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: audit-package.sh BUILD_DIR}
repo=$(cd "$(dirname "$0")/.." && pwd)
zips=("$build"/LockBeacon-*-win64.zip)
setups=("$build"/LockBeacon-*-setup.exe)
uninstaller="$build/installer/Uninstall.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

refuse() {
  echo "package: $*; removing ${zips[*]} ${setups[*]}" >&2
  rm -f "${zips[@]}" "${setups[@]}"
  exit 1
}

[ -f "${zips[0]}" ] || refuse "no zip was made"
[ -f "${setups[0]}" ] || refuse "no setup was made"
[ -f "$uninstaller" ] || refuse "the setup's uninstaller was not kept for the audit"
/usr/bin/python3 - "${zips[0]}" "$work/LockBeacon.exe" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    names = [n for n in archive.namelist() if n.endswith("/LockBeacon.exe")]
    if len(names) != 1:
        sys.exit(f"{sys.argv[1]} holds {len(names)} LockBeacon.exe")
    with open(sys.argv[2], "wb") as out:
        out.write(archive.read(names[0]))
PY
/usr/bin/python3 "$repo/tools/check-pe.py" --program "$work/LockBeacon.exe" \
  --installer "${setups[0]}" --installer "$uninstaller" || refuse "the PE audit failed"
if osslsigncode extract-signature -in "$work/LockBeacon.exe" -out "$work/sig" >/dev/null 2>&1; then
  echo "package: the files are signed"
else
  echo "package: the files are unsigned (see README, \"Signing a release\")"
fi
echo "package: ${zips[0]} and ${setups[0]}"
