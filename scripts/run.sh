#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up, builds and starts the program from a folder that holds its
# companion page. Without a display it says so and saves a picture of the
# window instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target tressin tressin-snapshot

cd build/qt
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display was found (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "Run this on a desktop, or inside a virtual X server: xvfb-run -a bash scripts/run.sh"
  echo "Meanwhile, here is the window after a sample calculation, rendered off-screen:"
  ./tressin-snapshot "$PWD/tressin-snapshot.png"
  exit 0
fi
exec ./tressin
