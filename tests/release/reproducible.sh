#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The same commit builds to the same bytes. After scripts/release.sh has
# made release/tressin-VERSION/ here, this makes the release again the same
# way, as somebody else would: later, from a clone in another folder, as
# another user (nobody, when run as root), with another umask and time zone,
# with the MSI's tools slowed down (each waits two seconds before it
# starts), so that an artefact dated by a running clock differs every time,
# not only on a busy machine, and without the package's build-time tests
# (DEB_BUILD_OPTIONS=nocheck, which must change no package's bytes). It runs in a throwaway root, where the set-up
# installs the arm64 package's build dependencies as release.sh asks. Every
# file of the two folders must match byte for byte; on a difference it shows
# what differs (diffoscope where it is installed, else the differing byte
# ranges).
#
#   reproducible.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/need.sh"
need git git
version=$(bash "$top/scripts/version.sh")
first=$top/release/tressin-$version
[ -f "$first/SHA256SUMS" ] || { echo "no $first: run bash scripts/release.sh first"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/another/folder/tressin
git clone -q "$top" "$src"
# wixl and msibuild, two seconds late (the wait itself on the real clock).
slow=$work/slow
mkdir -p "$slow"
for tool in wixl msibuild; do
  printf '#!/bin/sh\nenv -u LD_PRELOAD sleep 2\nexec %s "$@"\n' "$(command -v "$tool")" >"$slow/$tool"
  chmod 755 "$slow/$tool"
done
as=() who=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  who=nobody
fi
echo "== the release made again in $src as $who, umask 077, TZ=Asia/Tokyo, the MSI's tools slowed, nocheck"
# The set-up as root (release.sh's own then finds all it needs), the release as the other user.
bash "$top/tests/qt/linux/throwaway_root.sh" --bind "$work" -- bash -euo pipefail -c '
  cd "$1" && bash scripts/setup.sh --release >/dev/null
  shift
  "$@"' _ "$src" "${as[@]}" env HOME="$work" TZ=Asia/Tokyo PATH="$slow:$PATH" DEB_BUILD_OPTIONS=nocheck \
  bash -euo pipefail -c 'umask 077 && cd "$1" && bash scripts/release.sh >/dev/null' _ "$src"
second=$src/release/tressin-$version

show_difference() {  # show_difference A B
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$1" "$2" 2>&1 | head -n 80 || true
  else
    echo "(diffoscope is not installed: the differing byte ranges)"
    cmp -l "$1" "$2" 2>&1 | awk '
      /EOF/ { print; next }
      { if ($1 != last + 1) { if (start) print "  bytes " start "-" last; start = $1 } last = $1 }
      END { if (start) print "  bytes " start "-" last }' | head -n 20 || true
  fi
}
status=0
[ "$(cd "$first" && ls)" = "$(cd "$second" && ls)" ] || { echo "the two folders hold other files"; status=1; }
for f in "$first"/*; do
  name=$(basename "$f")
  if cmp -s "$f" "$second/$name"; then
    echo "same bytes: $name  $(sha256sum <"$f" | cut -d' ' -f1)"
  else
    echo "DIFFERENT: $name"
    show_difference "$f" "$second/$name"
    status=1
  fi
done
exit "$status"
