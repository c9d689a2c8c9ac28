#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows edition with MinGW-w64 into build-windows/dist/:
# tressin.exe with denryoku.html beside it, the portable
# tressin-VERSION-windows-x64.zip and the installer tressin-VERSION-x64.msi.
# Installs the cross compiler and wixl first when they are missing. Prints
# each artefact's SHA-256: the same commit gives the same bytes anywhere.
#
#   bash scripts/build-windows.sh [CMAKE OPTIONS...]    (passed on to CMake)
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
cd "$(dirname "$0")/.."

bash scripts/setup.sh --windows
# CMake reads the toolchain only when it first configures; given again it would warn that it is unused.
toolchain=()
[ -f build-windows/CMakeCache.txt ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake)
cmake -S . -B build-windows "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF -DTRESSIN_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build build-windows --target windows_dist -j"$(nproc)"
echo "Windows edition: $PWD/build-windows/dist/"
ls -l build-windows/dist
# The same commit builds to the same bytes anywhere: compare these sums.
echo "SHA-256:"
(cd build-windows/dist && sha256sum tressin.exe tressin-*.zip tressin-*.msi)
