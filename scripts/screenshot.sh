#!/usr/bin/env bash
# Remakes docs/screenshot.png: the real window, rendered off-screen after a
# sample calculation (333 m, 60 kg, 1 分).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target tressin-snapshot
build/app/tressin-snapshot docs/screenshot.png
