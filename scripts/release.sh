#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cuts a release: from a clean checkout, one folder release/tressin-VERSION/
# with everything a school or a distribution takes, the same bytes on any
# machine from the same commit:
#   tressin-VERSION-x64.msi, tressin-VERSION-windows-x64.zip    Windows
#   tressin-VERSION.html, denryoku.html                         the page in one file, and its companion
#   tressin-VERSION-site.zip                                    the page for a web host (the folder site/)
#   tressin_VERSION_amd64.deb, tressin_VERSION_arm64.deb        Debian and Raspberry Pi OS (with their
#                                                               -dbgsym debug symbols)
#   tressin_VERSION.dsc, tressin_VERSION.tar.xz                 the Debian source package
#   DEPLOYMENT.txt     the MSI's product and upgrade codes; install, removal and detection for Intune and Group Policy
#   RELEASE-NOTES.md   this version's section of CHANGELOG.md
#   SHA256SUMS         every file's SHA-256 (sha256sum -c SHA256SUMS)
# It refuses a tree with changes not committed, and a version (CMakeLists.txt)
# that CHANGELOG.md and debian/changelog do not both name. The set-up
# installs what the builds need, the arm64 package's Debian build
# dependencies included (dpkg --add-architecture arm64).
#
#   bash scripts/release.sh
set -euo pipefail
case "${1:-}" in
  -h | --help) sed -n '3,20s/^# \{0,1\}//p' "$0"; exit 0 ;;
  "") ;;
  *) echo "usage: bash scripts/release.sh" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
refuse() { echo "release.sh: $*" >&2; exit 1; }

[ -z "$(git status --porcelain)" ] || refuse "the tree has changes that are not committed: commit them or put them away first"
version=$(bash scripts/version.sh)
[ -n "$version" ] || refuse "no version in CMakeLists.txt"
grep -q "^## \[$version\] - [0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}$" CHANGELOG.md ||
  refuse "CHANGELOG.md has no section \"## [$version] - YYYY-MM-DD\""
[ "$(sed -n '1s/^tressin (\([^)]*\)).*/\1/p' debian/changelog)" = "$version" ] ||
  refuse "debian/changelog's latest entry is not $version"

echo "== set-up"
bash scripts/setup.sh --release
echo "== the Windows edition"
bash scripts/build-windows.sh >/dev/null
echo "== the web page"
bash scripts/build-web.sh >/dev/null

out=release/tressin-$version
work=release/work
rm -rf "$out" "$work"
mkdir -p "$out" "$work"
epoch=$(git log -1 --format=%ct)

echo "== the Debian source package"
# The committed files alone, with the modes git gives them whatever the umask.
mkdir "$work/tressin"
git archive HEAD | tar -x -C "$work/tressin"
find "$work/tressin" -type d -exec chmod 755 {} + -o -type f -perm /u+x -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
# Dated by the commit: anything written later (a folder dpkg-source touches) is not.
(cd "$work" && SOURCE_DATE_EPOCH=$epoch dpkg-source -b tressin >/dev/null)
echo "== the Debian packages, amd64 and (cross-built) arm64"
for arch in amd64 arm64; do
  rm -rf "$work/build-$arch"
  mkdir -p "$work/build-$arch"
  (cd "$work" && dpkg-source -x "tressin_$version.dsc" "build-$arch/tressin" >/dev/null)
  if [ "$arch" = "$(dpkg --print-architecture)" ]; then
    (cd "$work/build-$arch/tressin" && dpkg-buildpackage -us -uc -b >../build.log 2>&1) ||
      { tail -40 "$work/build-$arch/build.log"; refuse "the $arch package did not build"; }
  else
    (cd "$work/build-$arch/tressin" && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -a "$arch" -Pcross,nocheck -us -uc -b \
      >../build.log 2>&1) || { tail -40 "$work/build-$arch/build.log"; refuse "the $arch package did not build"; }
  fi
  cp "$work/build-$arch"/*.deb "$out/"
done
cp "$work/tressin_$version.dsc" "$work/tressin_$version.tar.xz" "$out/"

echo "== Windows, the page, the notes"
dist=build-windows/dist
cp "$dist/tressin-$version-x64.msi" "$dist/tressin-$version-windows-x64.zip" "$out/"
cp build-web/web/tressin.html "$out/tressin-$version.html"
cp build-web/web/denryoku.html "$out/"
rm -rf "$work/site"
mkdir -p "$work/site/tressin-$version-site"
cp build-web/web/site/* "$work/site/tressin-$version-site/"
bash windows/make-zip.sh "$PWD/$out/tressin-$version-site.zip" "$epoch" "$work/site" "tressin-$version-site" \
  $(cd build-web/web/site && ls | LC_ALL=C sort)
# This version's section of the changelog, heading and all.
awk -v head="## [$version]" 'index($0, head) == 1 { on = 1; print; next } on && /^## \[/ { exit } on' CHANGELOG.md \
  >"$out/RELEASE-NOTES.md"

msi=$out/tressin-$version-x64.msi
property() { msiinfo export "$msi" Property | tr -d '\r' | sed -n "s/^$1\t//p"; }
product=$(property ProductCode) upgrade=$(property UpgradeCode)
sed -e "s/@VERSION@/$version/g" -e "s/@PRODUCT_CODE@/$product/g" -e "s/@UPGRADE_CODE@/$upgrade/g" \
  windows/DEPLOYMENT.txt.in | sed 's/$/\r/' >"$out/DEPLOYMENT.txt"

(cd "$out" && LC_ALL=C ls | grep -vx SHA256SUMS | xargs sha256sum >SHA256SUMS)
touch -d "@$epoch" "$out"/*
rm -rf "$work"
echo "release: $PWD/$out/"
(cd "$out" && ls -l && cat SHA256SUMS)
