#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The signing route as a school or distributor would take it, with a
# throwaway certificate and a local RFC 3161 time-stamp server made here:
#  - signed with a PKCS#12 file whose password comes from the environment,
#    and with PEM files whose key's password comes from a file, both with a
#    time stamp, and run from another folder with paths relative to it;
#  - every signature and time stamp checks against its certificate; the
#    signed zip and MSI hold the signed program; the unsigned build is left
#    as it was;
#  - every program the script starts, with its command line and its
#    environment, is recorded (strace): the password is in none of them;
#  - the signed MSI installs over the unsigned one of the same version, and
#    the unsigned over the signed, silently with exit code 0, one uninstall
#    entry left holding the program just installed: under Wine, and from
#    the two packages' tables as Windows Installer reads them (Wine would
#    let another package of an installed product through).
#
#   sign_test.sh    (after the Windows build; WINEPREFIX names a prefix made
#                    up front, and a virtual X server is the caller's)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/need.sh"
need openssl openssl
need osslsigncode osslsigncode
need msiextract msitools
need strace strace
need python3 python3
need /usr/lib/wine/wine64 wine64
: "${WINEPREFIX:?a Wine prefix made by scripts/wine-prefix.sh}"
export USER=${USER:-$(id -un)} WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
cd "$top"
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

secret="tressin-$RANDOM$RANDOM-secret"
printf '%s' "$secret" >"$work/password.txt"
openssl req -x509 -newkey rsa:2048 -keyout "$work/key.pem" -passout "file:$work/password.txt" -out "$work/cert.pem" \
  -days 2 -subj "/CN=Tressin test signer" -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature 2>/dev/null
# (openssl reads a second line for -passout when both name one file.)
cp "$work/password.txt" "$work/password-again.txt"
openssl pkcs12 -export -inkey "$work/key.pem" -passin "file:$work/password.txt" -in "$work/cert.pem" \
  -out "$work/signer.p12" -passout "file:$work/password-again.txt"
# The time-stamp server's own certificate and settings.
mkdir "$work/tsa"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/tsa/tsa.key" -out "$work/tsa/tsa.pem" -days 2 \
  -subj "/CN=Tressin test time stamps" -addext "extendedKeyUsage=critical,timeStamping" \
  -addext "keyUsage=critical,digitalSignature" 2>/dev/null
echo 01 >"$work/tsa/serial"
printf '%s\n' '[ tsa ]' 'default_tsa = here' '[ here ]' 'serial = ./serial' 'signer_digest = sha256' \
  'default_policy = 1.2.3.4.1' 'digests = sha256' 'ess_cert_id_alg = sha256' >"$work/tsa/tsa.cnf"
python3 "$top/tests/windows/time_stamps.py" "$work/tsa" "$work/tsa/port" &
server=$!
for _ in $(seq 50); do [ -s "$work/tsa/port" ] && break; sleep 0.1; done
timestamp=http://127.0.0.1:$(cat "$work/tsa/port")/

[ "$(bash scripts/sign-windows.sh --help | head -1)" = usage: ] || fail "--help gives no usage"
bash scripts/build-windows.sh >/dev/null  # as the script will find it
before=$(sha256sum build-windows/dist/*)
# From another folder, with paths relative to it.
for route in "--pkcs12 signer.p12" "--cert cert.pem --key key.pem --password-file password.txt"; do
  echo "== sign-windows.sh $route --timestamp $timestamp"
  via_environment=()
  [[ $route == *--password-file* ]] || via_environment=(env "TRESSIN_SIGN_PASSWORD=$secret")
  # shellcheck disable=SC2086  # the route's words
  (cd "$work" && "${via_environment[@]}" strace -f -qq -e trace=execve -v -s 65536 -o "$work/programs" \
    "$(command -v bash)" "$top/scripts/sign-windows.sh" $route --timestamp "$timestamp" >"$work/out") ||
    { cat "$work/out"; fail "$route"; }
  # The first program is the script itself, given the password by its caller.
  started=$(grep -c 'execve(' "$work/programs")
  if tail -n +2 "$work/programs" | grep -qF -- "$secret"; then
    tail -n +2 "$work/programs" | grep -F -- "$secret" | cut -c1-200
    fail "the password reached a command line or a program's environment"
  fi
  grep -q 'osslsigncode.*-readpass' "$work/programs" || fail "osslsigncode was not given the password's file"
  echo "the password was in none of the $((started - 1)) programs the script started"
  signed=build-windows/signed
  for f in "$signed/tressin.exe" "$signed"/tressin-*.msi; do
    osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa/tsa.pem" -in "$f" >"$work/verify" 2>&1 ||
      { cat "$work/verify"; fail "$f"; }
    grep -q 'Timestamp Server Signature verification: ok' "$work/verify" || fail "$f has no checked time stamp"
    echo "signature and time stamp check: $f"
  done
  python3 -m zipfile -e "$signed"/tressin-*-windows-x64.zip "$work/zip"
  cmp "$work"/zip/*/tressin.exe "$signed/tressin.exe" || fail "the zip holds another program"
  (cd "$work" && msiextract -C msi "$top/$signed"/tressin-*.msi >/dev/null)
  cmp "$(find "$work/msi" -name tressin.exe)" "$signed/tressin.exe" || fail "the MSI holds another program"
  rm -rf "$work/zip" "$work/msi"
done
[ "$(sha256sum build-windows/dist/*)" = "$before" ] || fail "signing changed the unsigned build"

echo "== the signed MSI over the unsigned one of the same version, and back"
unsigned=$(ls build-windows/dist/tressin-*-x64.msi)
signed=$(ls build-windows/signed/tressin-*-x64.msi)
for pair in "$unsigned $signed" "$signed $unsigned"; do
  read -r old new <<<"$pair"
  verdict=$(bash tests/windows/msi_upgrade.sh "$old" "$new")
  [ "$verdict" = replaces ] || fail "Windows Installer: $new over $old: $verdict"
done
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { "$wine" reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*Tressin' || true; }
installed="$WINEPREFIX/drive_c/Program Files/Tressin/tressin.exe"
msiexec() { "$wine" msiexec "$@" || fail "msiexec $*: exit code $?"; }
# On a Windows the MSI installs on; the prefix's version is put back at the end.
winver=$("$wine" winecfg /v | tr -d '\r')
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; "$wine" winecfg /v "$winver" || true; rm -rf "$work"' EXIT
"$wine" winecfg /v win10
msiexec /i "Z:$top/$unsigned" /qn
for msi in "$signed" "$unsigned"; do
  msiexec /i "Z:$top/$msi" /qn
  [ "$(entries)" = 1 ] || fail "$(entries) uninstall entries after installing $msi"
  cmp "$installed" "$(dirname "$msi")/tressin.exe" || fail "$msi left another program installed"
  echo "installed over the other: $msi (exit code 0, one uninstall entry)"
done
msiexec /x "Z:$top/$unsigned" /qn
[ "$(entries)" = 0 ] || fail "an uninstall entry is left"
echo "signing ok"
