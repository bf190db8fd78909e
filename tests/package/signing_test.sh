#!/usr/bin/env bash
# Signing as `make package` does it (tools/sign-pe.sh), with a throw-away certificate made here:
# the shipped exe, the uninstaller and the setup each get an Authenticode signature that
# osslsigncode verifies against the throw-away root, and still pass the PE audit; without a
# certificate a file stays byte for byte as it was and the script says it is unsigned.
#   signing_test.sh SOURCE_DIR EXE UNINSTALLER SETUP WORK_DIR
set -euo pipefail
source_dir=$1; exe=$2; uninstaller=$3; setup=$4; work=$5
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"

# A root and a code-signing certificate issued by it, valid for a day.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Lock Beacon test root" \
  -keyout root.key -out root.pem -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Lock Beacon test signer" \
  -keyout signer.key -out signer.csr 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >ext.cnf
openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial -days 1 \
  -extfile ext.cnf -out signer.pem 2>/dev/null

fail() { echo "FAILED: $*" >&2; exit 1; }

# Unsigned: nothing changes, and the script says so.
cp "$exe" unsigned.exe
out=$(env -u LOCKBEACON_SIGN_CERT -u LOCKBEACON_SIGN_PKCS12 "$source_dir/tools/sign-pe.sh" unsigned.exe)
[[ $out == *"unsigned"* ]] || fail "no word of an unsigned file: $out"
cmp -s "$exe" unsigned.exe || fail "the file changed without a certificate"
if osslsigncode verify -in unsigned.exe -CAfile root.pem >/dev/null 2>&1; then
  fail "osslsigncode verify accepted an unsigned file: the check below would prove nothing"
fi

for file in "$exe" "$uninstaller" "$setup"; do
  name=$(basename "$file")
  cp "$file" "signed-$name"
  LOCKBEACON_SIGN_CERT=signer.pem LOCKBEACON_SIGN_KEY=signer.key \
    "$source_dir/tools/sign-pe.sh" "signed-$name" "copies/$name"
  osslsigncode verify -in "signed-$name" -CAfile root.pem >verify.log 2>&1 \
    || { cat verify.log; fail "$name: the signature does not verify"; }
  cmp -s "signed-$name" "copies/$name" || fail "$name: the copy is not the signed file"
  cmp -s "$file" "signed-$name" && fail "$name: signing changed nothing"
  echo "$name: signed, verified"
done
/usr/bin/python3 "$source_dir/tools/check-pe.py" --program "signed-$(basename "$exe")" \
  --installer "signed-$(basename "$uninstaller")" --installer "signed-$(basename "$setup")" \
  || fail "a signed file no longer passes the PE audit"
