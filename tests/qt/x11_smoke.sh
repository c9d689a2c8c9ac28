#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program in a real X window (the caller provides the X
# server), checks the window system sees "Kobrel" at 412 x 203, closes it like
# a window manager, and expects exit status 0.
set -uo pipefail
program=$1
window_tool=$2
workdir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$workdir"' EXIT

"$program" >"$workdir/out" 2>&1 &
pid=$!
seen=$("$window_tool" Kobrel --close --timeout 30) || { echo "window did not appear"; cat "$workdir/out"; exit 1; }
echo "$seen"
[[ $seen == "title=Kobrel width=412 height=203" ]] || { echo "unexpected window: $seen"; exit 1; }

for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "program did not end after its window was closed"; exit 1; fi
wait "$pid"
status=$?
[[ $status -eq 0 ]] || { echo "exit status $status"; cat "$workdir/out"; exit 1; }
echo "closed, exit status 0"
