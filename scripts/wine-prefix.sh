#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes a Wine prefix for running tressin.exe, once: Debian's wine64, no
# Mono or Gecko, and "ＭＳ Ｐゴシック" (which Windows ships and Linux does not)
# drawn with its metric twin IPAPGothic. Idempotent; prints the prefix.
#
#   bash scripts/wine-prefix.sh PREFIX [--unmanaged]
#
# --unmanaged lets Wine place and frame its windows itself, for a virtual X
# server without a window manager (tests): there Wine would otherwise wait
# two seconds for a window manager each time a window closes.
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
need /usr/lib/wine/wine64 wine64
prefix=$1
unmanaged=${2:-}
wine=/usr/lib/wine/wine64
export WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
if [ ! -f "$prefix/.tressin-prefix" ]; then
  mkdir -p "$prefix"
  "$wine" wineboot --init >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
  # Japanese text in the system's own faces (message boxes, captions) falls
  # back to IPAPGothic, as Windows links its UI faces to a Japanese one.
  for face in Tahoma 'Microsoft Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
  done
  /usr/lib/wine/wineserver -w
  touch "$prefix/.tressin-prefix"
fi
# Wine draws its window frames' buttons with Marlett, which Debian ships
# (fonts-wine) where this Wine does not look: without it the caption reads "0 1 r".
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp "$marlett" "$prefix/drive_c/windows/Fonts/"
fi
if [ -n "$unmanaged" ] && [ ! -f "$prefix/.tressin-unmanaged" ]; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  touch "$prefix/.tressin-unmanaged"
fi
echo "$prefix"
