#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes the portable zip so that the same files give the same bytes: the
# files in the order given, each with the source's time stamp and a fixed
# mode, and no owner, local time zone or extra time fields (Info-ZIP's -X).
#
#   make-zip.sh ZIP EPOCH STAGE FOLDER FILE...    (FILE names inside STAGE/FOLDER)
set -euo pipefail
zip=$1 epoch=$2 stage=$3 folder=$4
shift 4
source "$(dirname "$0")/../scripts/need.sh"
need zip zip
cd "$stage"
paths=()
for f; do
  chmod 0644 "$folder/$f"
  touch -d "@$epoch" "$folder/$f"
  paths+=("$folder/$f")
done
rm -f "$zip"
TZ=UTC0 zip -X -D -9 -q "$zip" "${paths[@]}"
