#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The signing route as a school or distributor would take it, with a
# throwaway certificate made here: signed with a PKCS#12 file (with a
# password) and with PEM files, every signature checks against the
# certificate, the signed zip and MSI hold the signed program, and the
# unsigned build is left as it was.
#
#   sign_test.sh    (after the Windows build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/need.sh"
need openssl openssl
need osslsigncode osslsigncode
need msiextract msitools
cd "$top"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
openssl req -x509 -newkey rsa:2048 -keyout "$work/key.pem" -passout pass:secret -out "$work/cert.pem" -days 2 \
  -subj "/CN=Tressin test signer" -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -passin pass:secret -in "$work/cert.pem" -out "$work/signer.p12" \
  -passout pass:secret
before=$(sha256sum build-windows/dist/*)
for route in "--pkcs12 $work/signer.p12" "--cert $work/cert.pem --key $work/key.pem"; do
  echo "== sign-windows.sh $route"
  # shellcheck disable=SC2086  # the route's words
  TRESSIN_SIGN_PASSWORD=secret bash scripts/sign-windows.sh $route >/dev/null
  signed=build-windows/signed
  for f in "$signed/tressin.exe" "$signed"/tressin-*.msi; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$f" >"$work/verify" 2>&1 || { cat "$work/verify"; fail "$f"; }
    echo "signature checks: $f"
  done
  python3 -m zipfile -e "$signed"/tressin-*-windows-x64.zip "$work/zip"
  cmp "$work"/zip/*/tressin.exe "$signed/tressin.exe" || fail "the zip holds another program"
  (cd "$work" && msiextract -C msi "$top/$signed"/tressin-*.msi >/dev/null)
  cmp "$(find "$work/msi" -name tressin.exe)" "$signed/tressin.exe" || fail "the MSI holds another program"
  rm -rf "$work/zip" "$work/msi"
done
[ "$(sha256sum build-windows/dist/*)" = "$before" ] || fail "signing changed the unsigned build"
echo "signing ok"
