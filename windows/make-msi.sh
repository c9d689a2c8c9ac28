#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the MSI with wixl so that the same files give the same bytes: the
# files and the package's dates carry the source's time stamp, on a clock
# that stands still however long the tools take. The product code is
# derived from the upgrade code, the version and the files, and the package
# code (which wixl draws at random) from everything the MSI is made of: the
# same files give the same codes, and other files of the same version (the
# signed program in place of the unsigned one) another product, never the
# same product in another package, which Windows Installer refuses over an
# installed one (error 1638). The Upgrade table is ours (wixl cannot write
# this one): a product of the same version, or an older one, is replaced; a
# newer one is only detected, and the launch conditions refuse the install.
# They (an older version refused, the oldest Windows) go in afterwards, in
# Japanese, with the database's code page set for them.
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
contents=$(cat "${files[@]}" "$here/launch-conditions.idt" "$here/make-msi.sh" | sha256sum)
product=$(uuid "Tressin product $upgrade $version $contents")
package=$(uuid "$contents")
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
# Up to this version inclusive, migrating features: replaced. Above it: detected only.
{
  printf 'UpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\tRemove\tActionProperty\r\n'
  printf 's38\tS20\tS20\tS255\ti4\tS255\ts72\r\n'
  printf 'Upgrade\tUpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\r\n'
  printf '{%s}\t\t%s\t\t%d\t\tWIX_UPGRADE_DETECTED\r\n' "$upgrade" "$version" $((0x1 | 0x200))
  printf '{%s}\t%s\t\t\t%d\t\tWIX_DOWNGRADE_DETECTED\r\n' "$upgrade" "$version" $((0x2))
} >Upgrade.idt
"${at[@]}" msibuild "$msi" -i codepage.idt
for table in LaunchCondition Upgrade; do
  "${at[@]}" msibuild "$msi" -q "DROP TABLE \`$table\`"
  "${at[@]}" msibuild "$msi" -i "$table.idt"
done
rm codepage.idt LaunchCondition.idt Upgrade.idt
summary=$(msiinfo suminfo "$msi")
field() { sed -n "s/^$1: //p" <<<"$summary"; }
"${at[@]}" msibuild "$msi" -s "$(field Subject)" "$(field Author)" "$(field Template)" "{$package}"
