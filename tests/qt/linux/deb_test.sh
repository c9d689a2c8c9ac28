#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and checks what it installs and depends on.
set -euo pipefail
build=$1 dpkg_deb=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
echo "built $(basename "$deb")"
info=$("$dpkg_deb" -I "$deb")
contents=$("$dpkg_deb" -c "$deb")
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-ipafont-gothic; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done
grep -q ' Version: 1.0.0.0' <<<"$info"
for f in ./usr/bin/tressin ./usr/share/tressin/denryoku.html ./usr/share/applications/org.example.Tressin.desktop \
         ./usr/share/metainfo/org.example.Tressin.metainfo.xml; do
  grep -q " $f\$" <<<"$contents" || { echo "not in package: $f"; exit 1; }
done
desktop=$("$dpkg_deb" --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/org.example.Tressin.desktop)
grep -qx 'Path=/usr/share/tressin' <<<"$desktop"
echo "package ok"
