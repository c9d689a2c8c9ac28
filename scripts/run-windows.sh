#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows edition and starts tressin.exe under Wine on Linux,
# from its dist folder (where "電力の話" finds denryoku.html). The Wine
# prefix is tressin's own, made on the first run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-windows.sh >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  echo "No display was found (DISPLAY is not set): tressin.exe is built in build-windows/dist/."
  echo "Run this on a desktop, or inside a virtual X server: xvfb-run -a bash scripts/run-windows.sh"
  exit 0
fi
bash scripts/setup.sh --wine
prefix=$(bash scripts/wine-prefix.sh "${TRESSIN_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/tressin/wine}")
cd build-windows/dist
WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8 exec /usr/lib/wine/wine64 tressin.exe
