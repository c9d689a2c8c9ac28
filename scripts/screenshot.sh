#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Remakes the README's pictures: the real window rendered off-screen after a
# sample calculation (333 m, 60 kg, 1 分), at 1x and at 2x (high DPI), the
# web page in headless Chromium, and the Windows program under Wine at 96
# and 144 dpi, after the same calculation.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tressin-snapshot
build/qt/tressin-snapshot docs/screenshot.png
QT_SCALE_FACTOR=2 build/qt/tressin-snapshot docs/screenshot@2x.png
bash scripts/build-web.sh >/dev/null
bash scripts/setup.sh --test >/dev/null
node web/tests/screenshot.mjs build-web/web/tressin.html docs/screenshot-web.png
node web/tests/screenshot.mjs build-web/web/tressin.html docs/screenshot-phone.png 390 844 3
node web/tests/screenshot.mjs build-web/web/tressin.html docs/screenshot-tablet.png 1180 820 2
# The Windows window under Wine after the same calculation (分 picked from
# the time unit's list with the arrow key).
bash scripts/build-windows.sh >/dev/null
cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTRESSIN_BUILD_BENCH=OFF -DTRESSIN_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build build-mingw -j"$(nproc)" --target wintool >/dev/null
# At 96 dpi, and at 144 dpi (150 %) in a copy of the prefix set to that.
prefix=$(bash scripts/wine-prefix.sh "$PWD/build-wine" --unmanaged)
rm -rf build-wine-144 && cp -a "$prefix" build-wine-144
WINEPREFIX=$PWD/build-wine-144 WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' \
  /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
WINEPREFIX=$PWD/build-wine-144 /usr/lib/wine/wineserver -w
for shot in "$prefix docs/screenshot-windows.png" "$PWD/build-wine-144 docs/screenshot-windows@144dpi.png"; do
  read -r shot_prefix picture <<<"$shot"
  WINEPREFIX=$shot_prefix xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
    wine=/usr/lib/wine/wine64 tool=$PWD/build-mingw/tests/windows/wintool.exe
    (cd build-windows/dist && exec "$wine" tressin.exe) &
    "$wine" "$tool" wait Kobrel >/dev/null
    sleep 0.5
    xdotool key --delay 30 End BackSpace 3 3 3 Tab End BackSpace 6 0 Tab End BackSpace 1 Tab Tab Tab Down Return
    sleep 1
    import -window "$(xdotool search --name "^Kobrel\$" | head -1)" "$1"
    xdotool key alt+F4
    wait' _ "$picture"
done
rm -rf build-wine-144
