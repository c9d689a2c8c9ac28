#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up time and peak memory of tressin.exe against the barest Win32
# window (bench/bare_window_win32.cpp), both static MinGW-w64 builds, both
# under Wine in one virtual X server, launched interleaved by one Windows
# program (tests/windows/wintool.cpp) from CreateProcess to the window being
# visible. Prints medians and ratios; asserts nothing.
#
#   bash scripts/measure-windows-startup.sh [RUNS]      (default 20 launches each)
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
cd "$(dirname "$0")/.."
runs=${1:-20}

if [ -z "${INSIDE_XVFB:-}" ]; then
  bash scripts/setup.sh --test >/dev/null
  # CMake reads the toolchain only when it first configures; given again it would warn that it is unused.
  toolchain=()
  [ -f build-mingw/CMakeCache.txt ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake)
  cmake -S . -B build-mingw "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DTRESSIN_BUILD_BENCH=OFF -DTRESSIN_GTEST_SOURCE=/usr/src/googletest >/dev/null
  cmake --build build-mingw -j"$(nproc)" --target tressin bare_window_win32 plain_form_win32 wintool windows_dist >/dev/null
  prefix=$(bash scripts/wine-prefix.sh "${WINEPREFIX:-$PWD/build-wine}" --unmanaged)
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  exec env INSIDE_XVFB=1 WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
top=$PWD
cd build-mingw/dist  # where tressin.exe finds its page, as when installed
"$wine" "$top/build-mingw/tests/windows/wintool.exe" launch "$runs" \
  "$top/build-mingw/tests/windows/bare_window_win32.exe" Bare \
  "$top/build-mingw/tests/windows/plain_form_win32.exe" Plain \
  "$top/build-mingw/dist/tressin.exe" Kobrel
echo "tressin.exe: $(stat -c %s "$top/build-mingw/dist/tressin.exe") bytes;" \
  "bare window: $(stat -c %s "$top/build-mingw/tests/windows/bare_window_win32.exe") bytes"
