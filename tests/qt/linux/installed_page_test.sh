#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs into a temporary prefix, starts the installed program the way its
# desktop entry says (from elsewhere: the entry's Path sets the folder),
# clicks 電力の話 in the real X window with a recording stand-in for
# xdg-open, and expects a request for the page in the data folder.
set -euo pipefail
build=$1 window_tool=$2 xdotool=$3
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$prefix/share/applications/org.example.Tressin.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
path_line=$(sed -n 's/^Path=//p' "$entry")

mkdir -p "$work/fakebin" "$work/elsewhere"
cat >"$work/fakebin/xdg-open" <<FAKE
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
FAKE
chmod +x "$work/fakebin/xdg-open"

cd "$work/elsewhere"
(cd "$path_line" && PATH="$work/fakebin:$prefix/bin:$PATH" exec $exec_line) >"$work/out" 2>&1 &
pid=$!
"$window_tool" Kobrel --timeout 30 >/dev/null || { echo "no window"; cat "$work/out"; exit 1; }
window=$("$xdotool" search --name '^Kobrel$' | head -1)
# 電力の話: left 240, top 2400, 1215 x 375 twips; click its middle.
"$xdotool" mousemove --window "$window" 56 172 click 1
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
[ -s "$work/opened" ] || { echo "the desktop was not asked to open anything"; cat "$work/out"; exit 1; }
asked=$(head -1 "$work/opened")
expected="file://$prefix/share/tressin/denryoku.html"
echo "asked to open: $asked"
[ "$asked" = "$expected" ] || { echo "expected: $expected"; exit 1; }
"$window_tool" Kobrel --close >/dev/null
wait "$pid"
pid=
echo "page requested from the data folder; program closed cleanly"
