#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Redraws ui/art/*.png from scripts/artwork/make_artwork.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build --target make_artwork -j"$(nproc)"
QT_QPA_PLATFORM=offscreen build/scripts/make_artwork ui/art
echo "artwork written to ui/art"
