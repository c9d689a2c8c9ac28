#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Run on each package cpack makes, so that every builder gets the same bytes:
#  - Installed-Size counted as dpkg-gencontrol does (each file in KiB,
#    rounded up, and each folder as 1 KiB); cpack adds up the sizes the
#    build's file system gives its folders, which differ from one to another;
#  - the package's members written again with mode 0644 (cpack takes them
#    from its own files, which follow the builder's umask).
# The files inside are not touched; the control archive is written again
# with the same members, owners, modes and time stamps.
#
#   normalize-deb.sh PACKAGE
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ar x "$deb" debian-binary control.tar.gz data.tar.gz
mtime=$(dd if="$deb" bs=1 skip=24 count=12 status=none | tr -d ' ')  # the first member's, cpack's

mkdir control
tar -xzf control.tar.gz -C control
size=$(tar -tvzf data.tar.gz | awk '{ if ($1 ~ /^d/) kib += 1; else kib += int(($3 + 1023) / 1024) } END { print kib }')
sed -i "s/^Installed-Size: .*/Installed-Size: $size/" control/control
members=$(tar -tzf control.tar.gz)
# shellcheck disable=SC2086  # the member names, as the original lists them
(cd control && tar --format=gnu --owner=root:0 --group=root:0 --mode=0644 --mtime="@$mtime" \
  --no-recursion -cf ../control.tar $members)
gzip -9n -c control.tar >control.tar.gz

member() {  # member NAME: its ar header, its data, and padding to an even length
  local length
  length=$(stat -c %s "$1")
  printf '%-16s%-12s%-6s%-6s%-8s%-10s`\n' "$1" "$mtime" 0 0 100644 "$length"
  cat "$1"
  if ((length % 2)); then printf '\n'; fi
}
{
  printf '!<arch>\n'
  member debian-binary
  member control.tar.gz
  member data.tar.gz
} >package.deb
mv package.deb "$deb"
