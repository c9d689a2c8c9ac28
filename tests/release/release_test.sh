#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The release folder as a school, a distribution and IT staff take it, after
# scripts/release.sh made it (release/tressin-VERSION/):
#  - it holds what the README says and nothing else, and its SHA256SUMS
#    checks (sha256sum -c);
#  - the notes are this version's section of CHANGELOG.md; DEPLOYMENT.txt
#    names the MSI's own product and upgrade codes;
#  - the arm64 package is for arm64, hardened as Debian's flags ask there;
#  - the README's lines that install the two packages, run word for word in
#    throwaway roots: each program answers --version and its snapshot tool
#    calculates, the arm64 one under qemu-user with Debian's arm64 libraries;
#  - release.sh refuses a tree with changes not committed, and a version
#    the changelogs do not both name, before it builds anything.
#
#   release_test.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/need.sh"
need msiinfo msitools
need qemu-aarch64 qemu-user
need hardening-check devscripts
version=$(bash "$top/scripts/version.sh")
out=$top/release/tressin-$version
fail() { echo "FAILED: $*"; exit 1; }
[ -d "$out" ] || fail "no $out: run bash scripts/release.sh first"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== release/tressin-$version/"
expected="DEPLOYMENT.txt
RELEASE-NOTES.md
SHA256SUMS
denryoku.html
tressin-$version-site.zip
tressin-$version-windows-x64.zip
tressin-$version-x64.msi
tressin-$version.html
tressin-dbgsym_${version}_amd64.deb
tressin-dbgsym_${version}_arm64.deb
tressin_$version.dsc
tressin_$version.tar.xz
tressin_${version}_amd64.deb
tressin_${version}_arm64.deb"
[ "$(cd "$out" && LC_ALL=C ls)" = "$expected" ] || { (cd "$out" && ls); fail "the folder does not hold what the README says"; }
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check"
[ "$(wc -l <"$out/SHA256SUMS")" = "$(($(wc -l <<<"$expected") - 1))" ] || fail "SHA256SUMS does not name every file"
echo "every file named in SHA256SUMS, and every sum checks"

awk -v head="## [$version]" 'index($0, head) == 1 { on = 1; print; next } on && /^## \[/ { exit } on' \
  "$top/CHANGELOG.md" | cmp - "$out/RELEASE-NOTES.md" || fail "the notes are not CHANGELOG.md's section for $version"
product=$(msiinfo export "$out/tressin-$version-x64.msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
grep -q "msiexec /x $product /qn" "$out/DEPLOYMENT.txt" || fail "DEPLOYMENT.txt does not name the MSI's product code $product"
grep -q "Detection rule: MSI, .*$product" "$out/DEPLOYMENT.txt" || fail "DEPLOYMENT.txt gives no detection rule"
! grep -q '@[A-Z_]*@' "$out/DEPLOYMENT.txt" || fail "DEPLOYMENT.txt has a placeholder left"
echo "notes: CHANGELOG.md's section; DEPLOYMENT.txt: product code $product"

echo "== the arm64 package"
deb=$out/tressin_${version}_arm64.deb
[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] || fail "$deb is not for arm64"
dpkg-deb -x "$deb" "$work/arm64"
file -b "$work/arm64/usr/bin/tressin" | grep -q 'ARM aarch64' || fail "the program is not an arm64 one"
# Debian 13's hardening-check asks arm64 programs for branch protection too,
# which Debian's flags give there.
echo "hardening-check --nocfprotection: its control-flow check looks for x86's IBT/SHSTK marking, which no arm64 program has"
hardening-check --nocfprotection "$work/arm64/usr/bin/tressin" "$work/arm64/usr/libexec/tressin/tressin-snapshot" ||
  fail "the arm64 programs are not hardened"
# "1.00" for 1.0.0, as the program says its version.
shown=$(awk -F. '{ printf "%d.%02d%s", $1, $2, ($3 > 0 ? "." $3 : "") }' <<<"$version")
echo "== the README's lines for Debian PCs and Raspberry Pi, word for word, each in a throwaway root"
lines=$(awk '/^#+ /{inside = ($0 == "### Debian PCs and Raspberry Pi")} inside && /^    /{sub(/^ +/, ""); print}' "$top/README.md")
[ "$(grep -c "_${version}_" <<<"$lines")" = 2 ] || fail "the README names no packages of $version for PCs and Raspberry Pi"
while IFS= read -r line; do
  echo "\$ $line"
  arch=amd64 run=()
  if [[ $line == *_arm64.deb* ]]; then arch=arm64 run=(qemu-aarch64); fi
  bash "$top/tests/qt/linux/throwaway_root.sh" --bind "$out" -- env DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c '
    # An amd64 machine stands in for the Raspberry Pi: it takes arm64 packages, and runs them under qemu-user.
    if [ "$2" = arm64 ]; then
      dpkg --print-foreign-architectures | grep -qx arm64 || dpkg --add-architecture arm64
      apt-get update -qq 2>/dev/null
    fi
    # apt asks before it installs what the package needs; a person answers yes.
    echo "APT::Get::Assume-Yes \"true\";" >/etc/apt/apt.conf.d/99-answer-yes
    cd "$1" && bash -c "$3" >/tmp/install.log 2>&1 || { tail -20 /tmp/install.log; exit 1; }
    shift 4
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$@" /usr/bin/tressin --version)
    echo "${*:+$* }/usr/bin/tressin --version: $answer"
    [ "$answer" = "Tressin $0" ]
    cd "$(mktemp -d)"
    "$@" /usr/libexec/tressin/tressin-snapshot window.png | tee snapshot.txt
    grep -q "3265.61445 W" snapshot.txt && [ -s window.png ]' "$shown" "$out" "$arch" "$line" -- "${run[@]}" ||
    fail "$line"
done <<<"$lines"
echo "installed as the README says; the arm64 program answers and calculates under qemu-user, with Debian's arm64 libraries"

echo "== release.sh refuses what it must"
git clone -q "$top" "$work/clone"
echo "# changed" >>"$work/clone/README.md"
if out=$(cd "$work/clone" && bash scripts/release.sh 2>&1); then fail "release.sh took a tree with changes"; fi
grep -q 'not committed' <<<"$out" || fail "release.sh did not say why: $out"
(cd "$work/clone" && git checkout -q README.md &&
  sed -i 's/^project(tressin VERSION [0-9.]*/project(tressin VERSION 99.0.0/' CMakeLists.txt &&
  git -c user.name=test -c user.email=test@example.org commit -qam "99.0.0, not in the changelogs")
if out=$(cd "$work/clone" && bash scripts/release.sh 2>&1); then fail "release.sh took a version the changelogs do not name"; fi
grep -q 'CHANGELOG.md has no section "## \[99.0.0\]' <<<"$out" || fail "release.sh did not say why: $out"
echo "refused: a tree with changes; a version the changelogs do not name"
echo "release ok"
