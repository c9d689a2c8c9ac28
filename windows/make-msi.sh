#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the MSI with wixl so that the same files give the same bytes: the
# files and the package's dates carry the source's time stamp, and the
# package code (which wixl draws at random) is derived from everything the
# MSI is made of, so a changed MSI still gets a new one, as Windows
# Installer requires.
#
#   make-msi.sh MSI EPOCH STAGE    (STAGE holds tressin.wxs and the files it names)
set -euo pipefail
msi=$1 epoch=$2 stage=$3
source "$(dirname "$0")/../scripts/need.sh"
need wixl wixl
need msibuild msitools
need faketime faketime
cd "$stage"
files=(tressin.wxs tressin.exe denryoku.html tressin.ico)
sum=$(cat "${files[@]}" | sha256sum)
variant=$(printf '%x' $(((0x${sum:16:1} & 3) | 8)))
code="{${sum:0:8}-${sum:8:4}-5${sum:13:3}-${variant}${sum:17:3}-${sum:20:12}}"
touch -d "@$epoch" "${files[@]}"
# Both tools date the package by the clock: they read the source's date instead.
# The files keep their own times (touched above), which the cabinet records:
# faketime would shift those by its offset from the real clock, which differs
# from run to run (Debian 13's libgcab reads them through the calls it fakes).
at=(env TZ=UTC0 NO_FAKE_STAT=1 faketime "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')")
"${at[@]}" wixl -a x64 -o "$msi" tressin.wxs
summary=$(msiinfo suminfo "$msi")
field() { sed -n "s/^$1: //p" <<<"$summary"; }
"${at[@]}" msibuild "$msi" -s "$(field Subject)" "$(field Author)" "$(field Template)" "${code^^}"
