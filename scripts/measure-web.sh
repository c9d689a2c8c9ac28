#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The web page's size (raw and gzip, and where the bytes go: each part of
# the page, the WebAssembly's largest functions) and its time to the first
# possible calculation in headless Chromium, median of N loads (default 20),
# beside an empty page's in the same run. Builds the page first. Prints
# figures; asserts nothing.
#
#   bash scripts/measure-web.sh [RUNS]      (default 20 loads each)
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
cd "$(dirname "$0")/.."
bash scripts/build-web.sh >/dev/null
bash scripts/setup.sh --test >/dev/null
node web/tests/measure.mjs build-web/web/tressin.html "${1:-20}"
