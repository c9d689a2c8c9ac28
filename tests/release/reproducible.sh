#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The same commit builds to the same bytes. After the README's routes have
# built the release (tressin.exe, the zip and the MSI; the .deb, which the
# install route's test keeps in build-deb/; tressin.html and the folder for
# a web host), this builds each again
# the same way, as somebody else would: later, from a copy in another
# folder, as another user (nobody, when run as root), with another umask
# and time zone, and with the MSI's tools slowed down (each waits two
# seconds before it starts), so that an artefact dated by a running clock
# differs every time, not only on a busy machine. Every artefact must match
# byte for byte; on a difference
# it shows what differs (diffoscope where it is installed, else the
# differing byte ranges).
#
#   reproducible.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/need.sh"
need git git
artefacts=(build-windows/dist/tressin.exe build-windows/dist/tressin-1.0.0-windows-x64.zip
           build-windows/dist/tressin-1.0.0-x64.msi build-deb/tressin_1.0.0.0_amd64.deb build-web/web/tressin.html
           build-web/web/site/index.html build-web/web/site/sw.js build-web/web/site/manifest.webmanifest)
for a in "${artefacts[@]}"; do
  [ -f "$top/$a" ] || { echo "$a has not been built here: run the README's routes first"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/another/folder/tressin
# The committed history (for the source's date) with this tree's files on top.
git clone -q "$top" "$src"
(cd "$top" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$src")
# wixl and msibuild, two seconds late (the wait itself on the real clock).
slow=$work/slow
mkdir -p "$slow"
for tool in wixl msibuild; do
  printf '#!/bin/sh\nenv -u LD_PRELOAD sleep 2\nexec %s "$@"\n' "$(command -v "$tool")" >"$slow/$tool"
  chmod 755 "$slow/$tool"
done
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  who=nobody
else
  who=$(id -un)
fi
echo "== building again in $src as $who, umask 077, TZ=Asia/Tokyo, the MSI's tools slowed"
"${as[@]}" env HOME="$work" TZ=Asia/Tokyo PATH="$slow:$PATH" bash -euo pipefail -c '
  umask 077
  cd "$1"
  bash scripts/build-windows.sh >/dev/null
  bash scripts/build-web.sh >/dev/null
  dpkg-buildpackage -us -uc -b >/dev/null 2>&1
  mkdir -p build-deb
  cp ../tressin_1.0.0.0_amd64.deb build-deb/' _ "$src"

show_difference() {  # show_difference A B
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$1" "$2" 2>&1 | head -n 80 || true
  else
    echo "(diffoscope is not installed: the differing byte ranges)"
    cmp -l "$1" "$2" 2>&1 | awk '
      /EOF/ { print; next }
      { if ($1 != last + 1) { if (start) print "  bytes " start "-" last; start = $1 } last = $1 }
      END { if (start) print "  bytes " start "-" last }' | head -n 20
  fi
}
status=0
for a in "${artefacts[@]}"; do
  if cmp -s "$top/$a" "$src/$a"; then
    echo "same bytes: $a  $(sha256sum <"$top/$a" | cut -d' ' -f1)"
  else
    echo "DIFFERENT: $a"
    show_difference "$top/$a" "$src/$a"
    status=1
  fi
done
exit "$status"
