#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every picture and link to a file in the README and the guides points at a
# file that is there: a moved picture or a renamed script shows here, not
# in front of a teacher.
#
#   links.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
status=0
for doc in README.md docs/ja/*.md; do
  # Markdown links and pictures with a relative target: ](path) or ](path "title").
  while IFS= read -r target; do
    path=${target%%#*}
    [ -n "$path" ] || continue
    if [ ! -e "$(dirname "$doc")/$path" ]; then
      echo "$doc: $target is not there"
      status=1
    fi
  done < <(grep -oE '\]\([^)[:space:]]+' "$doc" | sed 's/^](//' | grep -vE '^[a-z]+:')
  # Scripts named in backticks.
  while IFS= read -r script; do
    [ -e "$script" ] || { echo "$doc: $script is not there"; status=1; }
  done < <(grep -oE '`(bash )?scripts/[A-Za-z0-9_./-]+\.sh' "$doc" | sed -E 's/^`(bash )?//')
done
# Every script that takes options says how it is called when asked.
for script in scripts/*.sh; do
  grep -qE '^#   bash scripts/[^ ]+ .*(\[|--)' "$script" || continue
  help=$(bash "$script" --help 2>&1) && grep -q "bash $script" <<<"$help" ||
    { echo "$script --help does not say how it is called"; status=1; }
done
[ "$status" -eq 0 ] && echo "every picture, link and script named in the README and the guides is there; every script with options answers --help"
exit "$status"
