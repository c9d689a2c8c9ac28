#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the web edition: build-web/web/tressin.html, one self-contained
# file (page, WebAssembly core and artwork), with denryoku.html beside it.
# Installs Emscripten first when it is missing.
#
#   bash scripts/build-web.sh [CMAKE OPTIONS...]    (passed on to CMake: -DTRESSIN_WERROR=ON, say)
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
cd "$(dirname "$0")/.."

bash scripts/setup.sh --web
# Debian's Emscripten finds its JavaScript parser (acorn) through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# CMake reads the toolchain only when it first configures; given again it would warn that it is unused.
toolchain=()
[ -f build-web/CMakeCache.txt ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
cmake -S . -B build-web "${toolchain[@]}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DTRESSIN_BUILD_QT=OFF -DTRESSIN_BUILD_BENCH=OFF -DBUILD_TESTING=OFF "$@" >/dev/null
cmake --build build-web --target web_page -j"$(nproc)"
echo "web page: $PWD/build-web/web/tressin.html (with denryoku.html beside it)"
