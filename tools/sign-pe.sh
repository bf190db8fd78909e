#!/usr/bin/env bash
# Signs a Windows file of a release with Authenticode, in place:
#
#   tools/sign-pe.sh FILE [COPY]
#
# when the environment names a code-signing certificate (files outside the repository, never in it):
#   LOCKBEACON_SIGN_CERT + LOCKBEACON_SIGN_KEY   certificate chain and private key (PEM or DER), or
#   LOCKBEACON_SIGN_PKCS12                       both in one .pfx/.p12 file;
#   LOCKBEACON_SIGN_PASSWORD_FILE                a file holding the key's password (optional);
#   LOCKBEACON_TIMESTAMP_URL                     an RFC 3161 time-stamp server (optional), so that
#                                                the signature outlives the certificate.
# The build adds LOCKBEACON_SIGN_INFO_URL, the maker's home page that the signature names.
# Without a certificate the file stays as it is and the script says that it is unsigned. With
# COPY, the file (signed or not) is copied there afterwards: makensis runs this script on the
# uninstaller it then packs into the setup, and the copy is what the release audit reads.
# Uses only what osslsigncode 2.5 (Debian 12) has.
set -euo pipefail
file=${1:?usage: sign-pe.sh FILE [COPY]}
copy=${2:-}
name=$(basename "$file")

if [ -n "${LOCKBEACON_SIGN_PKCS12:-}" ] || [ -n "${LOCKBEACON_SIGN_CERT:-}" ]; then
  command -v osslsigncode >/dev/null || { echo "sign-pe: osslsigncode is missing (tools/setup.sh)" >&2; exit 1; }
  args=(sign -h sha256 -n "Lock Beacon")
  if [ -n "${LOCKBEACON_SIGN_INFO_URL:-}" ]; then
    args+=(-i "$LOCKBEACON_SIGN_INFO_URL")
  fi
  if [ -n "${LOCKBEACON_SIGN_PKCS12:-}" ]; then
    args+=(-pkcs12 "$LOCKBEACON_SIGN_PKCS12")
  else
    : "${LOCKBEACON_SIGN_KEY:?sign-pe: LOCKBEACON_SIGN_CERT needs LOCKBEACON_SIGN_KEY}"
    args+=(-certs "$LOCKBEACON_SIGN_CERT" -key "$LOCKBEACON_SIGN_KEY")
  fi
  if [ -n "${LOCKBEACON_SIGN_PASSWORD_FILE:-}" ]; then
    args+=(-readpass "$LOCKBEACON_SIGN_PASSWORD_FILE")
  fi
  if [ -n "${LOCKBEACON_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$LOCKBEACON_TIMESTAMP_URL")
  fi
  signed="$file.signing"
  rm -f "$signed"
  if ! osslsigncode "${args[@]}" -in "$file" -out "$signed" >"$file.sign.log" 2>&1; then
    cat "$file.sign.log" >&2
    rm -f "$signed" "$file.sign.log"
    echo "sign-pe: $name could not be signed" >&2
    exit 1
  fi
  rm -f "$file.sign.log"
  mv -f "$signed" "$file"
  echo "sign-pe: $name signed${LOCKBEACON_TIMESTAMP_URL:+ and time-stamped}"
else
  echo "sign-pe: $name is unsigned (no LOCKBEACON_SIGN_CERT or LOCKBEACON_SIGN_PKCS12 given)"
fi
if [ -n "$copy" ]; then
  mkdir -p "$(dirname "$copy")"
  cp -f "$file" "$copy"
fi
