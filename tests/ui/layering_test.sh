#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The house's one-way dependencies, read from the #include lines:
# calc <- ui <- each edition (qt, windows, web), no edition including
# another's files, nothing including an edition from below, and no toolkit
# in the core or the shared description.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
status=0
forbid() {  # forbid FOLDER PATTERN WHY
  local hits
  hits=$(grep -rnE "^\s*#\s*include\s*[<\"]($2)" "$1" --include='*.h' --include='*.cpp' --include='*.in' || true)
  if [ -n "$hits" ]; then
    echo "$1 must not include $3:"
    echo "$hits"
    status=1
  fi
}
forbid calc 'ui/|qt/|windows/|web/|Q[A-Z]|windows\.h|emscripten' 'the description, an edition or a toolkit'
forbid ui 'qt/|windows/|web/|Q[A-Z]|windows\.h|emscripten' 'an edition or a toolkit'
forbid qt 'windows/|web/|windows\.h|emscripten' "another edition's files"
forbid windows 'qt/|web/|Q[A-Z]|emscripten' "another edition's files"
forbid web 'qt/|windows/|Q[A-Z]|windows\.h' "another edition's files"
[ "$status" -eq 0 ] && echo "calc <- ui <- qt, windows, web: no other include"
exit "$status"
