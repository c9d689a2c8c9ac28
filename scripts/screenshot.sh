#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Remakes the README's pictures: the real window rendered off-screen after a
# sample calculation (333 m, 60 kg, 1 分), at 1x and at 2x (high DPI), and
# the web page in headless Chromium after the same calculation.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tressin-snapshot
build/qt/tressin-snapshot docs/screenshot.png
QT_SCALE_FACTOR=2 build/qt/tressin-snapshot docs/screenshot@2x.png
bash scripts/build-web.sh >/dev/null
bash scripts/setup.sh --test >/dev/null
node web/tests/screenshot.mjs build-web/web/tressin.html docs/screenshot-web.png
