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
         libexec/tressin/tressin-snapshot share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/32x32/apps/$id.png \
         share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png; do
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
grep -q "<release version=\"$(bash "$(dirname "$0")/../../../scripts/version.sh")\"" "$prefix/share/metainfo/$id.metainfo.xml"
grep -q '<launchable type="desktop-id">'"$id"'.desktop</launchable>' "$prefix/share/metainfo/$id.metainfo.xml"
grep -q '電気を大切にしましょう。' "$prefix/share/metainfo/$id.metainfo.xml"
# Untranslated texts in English, for every locale without a translation;
# Japanese as translations; the same categories in both files.
desktop=$prefix/share/applications/$id.desktop
! grep -P '^(Name|GenericName|Comment|Keywords)=.*[^\x00-\x7F]' "$desktop" || { echo "untranslated desktop text is not English"; exit 1; }
for key in 'GenericName\[ja\]' 'Comment\[ja\]' 'Keywords\[ja\]'; do grep -q "^$key=" "$desktop" || { echo "no $key"; exit 1; }; done
! grep -P '<(summary|p)>[^<]*[^\x00-\x7F]' "$metainfo" | grep -v 'xml:lang' || { echo "untranslated metainfo text is not English"; exit 1; }
grep -q '<summary xml:lang="ja">' "$metainfo" || { echo "no Japanese summary"; exit 1; }
desktop_categories=$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' | sed '/^$/d' | sort)
metainfo_categories=$(grep -o '<category>[^<]*' "$metainfo" | sed 's/<category>//' | sort)
[ "$desktop_categories" = "$metainfo_categories" ] || { echo "categories differ: $desktop_categories / $metainfo_categories"; exit 1; }
echo "installed files valid"
