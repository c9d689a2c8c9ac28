#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Signs the Windows edition with a code-signing certificate that the signer
# holds (a school's or a distributor's; the project has none): tressin.exe,
# the zip and the MSI made again around the signed program, and the MSI
# itself, with Debian's osslsigncode. They go to build-windows/signed/; the
# unsigned build in build-windows/dist/ stays as it is, the same bytes on
# every machine. The signed MSI replaces the unsigned one of the same
# version, and the unsigned the signed (another product of the same version).
#
#   bash scripts/sign-windows.sh --pkcs12 SIGNER.p12 [--password-file FILE] [--timestamp URL]
#   bash scripts/sign-windows.sh --cert CERT.pem --key KEY.pem [--password-file FILE] [--timestamp URL]
#
# The password of the PKCS#12 file or of the key, if it has one, is read from
# FILE, or else from the environment variable TRESSIN_SIGN_PASSWORD. Either
# way it reaches osslsigncode only through a file that only the signer can
# read: it is on no command line, and no build tool runs with it in its
# environment. --timestamp names an RFC 3161 time-stamp server (the
# certificate authority's), so that the signatures stay valid after the
# certificate expires. Paths are taken from the folder the script is run in.
set -euo pipefail
usage() { echo usage:; sed -n '11,12s/^#   /  /p' "$0"; }
# Out of the environment before anything else runs.
password=${TRESSIN_SIGN_PASSWORD-}
unset TRESSIN_SIGN_PASSWORD
key=() timestamp=() password_file=
path() { realpath "${1:?}"; }  # against the caller's folder
while [ $# -gt 0 ]; do
  case "$1" in
    --pkcs12) key=(-pkcs12 "$(path "${2-}")"); shift 2 ;;
    --cert) key+=(-certs "$(path "${2-}")"); shift 2 ;;
    --key) key+=(-key "$(path "${2-}")"); shift 2 ;;
    --password-file) password_file=$(path "${2-}"); shift 2 ;;
    --timestamp) timestamp=(-ts "${2:?}"); shift 2 ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
[ ${#key[@]} -eq 2 ] || [ ${#key[@]} -eq 4 ] || { usage >&2; exit 2; }
cd "$(dirname "$0")/.."

bash scripts/build-windows.sh >/dev/null  # installs osslsigncode too
source scripts/need.sh
need osslsigncode osslsigncode
need msiinfo msitools
dist=build-windows/dist signed=build-windows/signed
work=$(mktemp -d)  # only the signer can read it
trap 'rm -rf "$work"' EXIT
readpass=()
if [ -n "$password_file" ]; then
  (umask 077 && cp "$password_file" "$work/password")
  readpass=(-readpass "$work/password")
elif [ -n "$password" ]; then
  (umask 077 && printf '%s' "$password" >"$work/password")  # printf is bash's own: no command line
  readpass=(-readpass "$work/password")
fi
password=
sign() {  # sign IN OUT
  osslsigncode sign "${key[@]}" "${readpass[@]}" "${timestamp[@]}" -h sha256 -n Tressin -in "$1" -out "$2" >/dev/null
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
# Deployment tools detect the MSI by its product code: the signed one has its own.
echo "product code of the signed MSI: $(msiinfo export "$signed/$msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')"
