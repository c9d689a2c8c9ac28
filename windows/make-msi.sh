#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the MSI with wixl so that the same files give the same bytes: the
# files and the package's dates carry the source's time stamp, on a clock
# that stands still however long the tools take; the product code is
# derived from the upgrade code and the version (a new version is a new
# product, the same version the same one), and the package code (which wixl
# draws at random) from everything the MSI is made of, so a changed MSI still
# gets a new one, as Windows Installer requires. The launch conditions (an
# older version refused, the oldest Windows) go in afterwards, in Japanese,
# with the database's code page set for them.
#
#   make-msi.sh MSI EPOCH STAGE    (STAGE holds tressin.wxs and the files it names)
set -euo pipefail
msi=$1 epoch=$2 stage=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/need.sh"
need wixl wixl
need msibuild msitools
need faketime faketime
cd "$stage"
files=(tressin.wxs tressin.exe denryoku.html tressin.ico)
# A name-based UUID (version 5's layout) from a SHA-256 of TEXT.
uuid() {
  local sum variant
  sum=$(sha256sum <<<"$1")
  variant=$(printf '%x' $(((0x${sum:16:1} & 3) | 8)))
  echo "${sum:0:8}-${sum:8:4}-5${sum:13:3}-${variant}${sum:17:3}-${sum:20:12}" | tr a-f A-F
}
upgrade=$(grep -o 'UpgradeCode="[^"]*"' tressin.wxs | cut -d'"' -f2)
version=$(grep -o '<Product [^>]*Version="[^"]*"' tressin.wxs | sed 's/.*Version="\([^"]*\)"/\1/')
[ -n "$upgrade" ] && [ -n "$version" ] || { echo "make-msi.sh: no upgrade code or version in tressin.wxs" >&2; exit 1; }
product=$(uuid "Tressin product $upgrade $version")
package=$(uuid "$(cat "${files[@]}" "$here/launch-conditions.idt" | sha256sum)")
touch -d "@$epoch" "${files[@]}"
# Both tools date the package by the clock: they read the source's date
# instead, and the clock stands still (faketime -f with a date and no @), so
# a slow or busy machine writes the same second. The files keep their own
# times (touched above), which the cabinet records: faketime would shift
# those by its offset from the real clock (Debian 13's libgcab reads them
# through the calls it fakes).
at=(env TZ=UTC0 NO_FAKE_STAT=1 faketime -f "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')")
"${at[@]}" wixl -a x64 -D "ProductCode=$product" -o "$msi" tressin.wxs
printf '\r\n\r\n932\t_ForceCodepage\r\n' >codepage.idt
cp "$here/launch-conditions.idt" LaunchCondition.idt
"${at[@]}" msibuild "$msi" -i codepage.idt
"${at[@]}" msibuild "$msi" -q 'DROP TABLE `LaunchCondition`'
"${at[@]}" msibuild "$msi" -i LaunchCondition.idt
rm codepage.idt LaunchCondition.idt
summary=$(msiinfo suminfo "$msi")
field() { sed -n "s/^$1: //p" <<<"$summary"; }
"${at[@]}" msibuild "$msi" -s "$(field Subject)" "$(field Author)" "$(field Template)" "{$package}"
