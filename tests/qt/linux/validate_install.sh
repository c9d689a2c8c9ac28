#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs into a temporary prefix and validates what a desktop reads.
set -euo pipefail
build=$1 validate_desktop=$2 appstreamcli=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.example.Tressin
for f in bin/tressin share/tressin/denryoku.html share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/32x32/apps/$id.png \
         share/icons/hicolor/128x128/apps/$id.png share/icons/hicolor/256x256/apps/$id.png; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
"$validate_desktop" "$prefix/share/applications/$id.desktop"
# The metainfo names no homepage, since the project has none yet: AppStream 1.0
# warns of that, and 0.16 neither checks it nor knows the tag to lower it.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
homepage=(--override=url-homepage-missing=info)
probe=$("$appstreamcli" validate --no-net "${homepage[@]}" "$metainfo" 2>&1 || true)
case $probe in *"is not recognized"*) homepage=() ;; esac
"$appstreamcli" validate --no-net --pedantic "${homepage[@]}" "$metainfo"
grep -qx "Path=$prefix/share/tressin" "$prefix/share/applications/$id.desktop" ||
  { echo "desktop entry does not start in the data folder"; exit 1; }
grep -q '<release version="1.0.0.0"' "$prefix/share/metainfo/$id.metainfo.xml"
grep -q '<launchable type="desktop-id">'"$id"'.desktop</launchable>' "$prefix/share/metainfo/$id.metainfo.xml"
grep -q '電気を大切にしましょう。' "$prefix/share/metainfo/$id.metainfo.xml"
echo "installed files valid"
