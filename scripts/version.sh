#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the project's version as CMakeLists.txt gives it (MAJOR.MINOR.PATCH),
# the one place it is written; every script and test that names a file by
# its version asks here.
set -euo pipefail
sed -n 's/^project(tressin VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$(dirname "$0")/../CMakeLists.txt"
