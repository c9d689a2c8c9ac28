#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Signs the Windows edition with a code-signing certificate that the signer
# holds (a school's or a distributor's; the project has none): tressin.exe,
# the zip and the MSI made again around the signed program, and the MSI
# itself, with Debian's osslsigncode. They go to build-windows/signed/; the
# unsigned build in build-windows/dist/ stays as it is, the same bytes on
# every machine.
#
#   bash scripts/sign-windows.sh --pkcs12 SIGNER.p12 [--timestamp URL]
#   bash scripts/sign-windows.sh --cert CERT.pem --key KEY.pem [--timestamp URL]
#
# The password of the PKCS#12 file or of the key, if it has one, is read
# from the environment variable TRESSIN_SIGN_PASSWORD. --timestamp names an
# RFC 3161 time-stamp server (the certificate authority's), so that the
# signatures stay valid after the certificate expires.
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { sed -n '10,11s/^#  //p' "$0" >&2; exit 2; }
key=() timestamp=()
while [ $# -gt 0 ]; do
  case "$1" in
    --pkcs12) key=(-pkcs12 "$(realpath "${2:?}")"); shift 2 ;;
    --cert) key+=(-certs "$(realpath "${2:?}")"); shift 2 ;;
    --key) key+=(-key "$(realpath "${2:?}")"); shift 2 ;;
    --timestamp) timestamp=(-ts "${2:?}"); shift 2 ;;
    *) usage ;;
  esac
done
[ ${#key[@]} -eq 2 ] || [ ${#key[@]} -eq 4 ] || usage

bash scripts/build-windows.sh >/dev/null  # installs osslsigncode too
source scripts/need.sh
need osslsigncode osslsigncode
dist=build-windows/dist signed=build-windows/signed
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
password=()
if [ -n "${TRESSIN_SIGN_PASSWORD:-}" ]; then
  (umask 077 && printf '%s' "$TRESSIN_SIGN_PASSWORD" >"$work/password")
  password=(-readpass "$work/password")
fi
# osslsigncode reads the password from a file only without a time stamp;
# with one, it takes it on the command line.
if [ ${#timestamp[@]} -gt 0 ] && [ ${#password[@]} -gt 0 ]; then password=(-pass "$TRESSIN_SIGN_PASSWORD"); fi
sign() {  # sign IN OUT
  osslsigncode sign "${key[@]}" "${password[@]}" "${timestamp[@]}" -h sha256 -n Tressin -in "$1" -out "$2" >/dev/null
}
rm -rf "$signed"
mkdir -p "$signed"
sign "$dist/tressin.exe" "$signed/tressin.exe"
cp "$dist/denryoku.html" "$signed/"
# The zip and the MSI as the build makes them, around the signed program,
# dated as the build dated them.
zip=$(basename "$dist"/tressin-*-windows-x64.zip .zip)
cp -a "build-windows/windows/stage/$zip" "$work/"
cp "$signed/tressin.exe" "$work/$zip/"
bash windows/make-zip.sh "$PWD/$signed/$zip.zip" "$(stat -c %Y "$work/$zip/README.txt")" "$work" "$zip" \
  tressin.exe denryoku.html LICENSE.txt README.txt
msi=$(basename "$dist"/tressin-*-x64.msi)
cp -a build-windows/windows/msi "$work/msi"
cp "$signed/tressin.exe" "$work/msi/"
bash windows/make-msi.sh "$work/$msi" "$(stat -c %Y "$work/msi/tressin.wxs")" "$work/msi"
sign "$work/$msi" "$signed/$msi"
echo "signed: $PWD/$signed/"
ls -l "$signed"
