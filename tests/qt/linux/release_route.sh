#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's Install section, run word for word as a user would: a Release
# build from scratch, the Debian package, lintian on it, the package
# installed with apt-get and the tree installed with cmake --install; then
# the installed programs answer --version and --help without a display, and
# everything is removed again.
#
#   release_route.sh gcc      in this checkout (leaves build/ as the README's)
#   release_route.sh clang    the same with CC=clang CXX=clang++, in a copy
set -euo pipefail
compiler=${1:-gcc}
top=$(cd "$(dirname "$0")/../../.." && pwd)
source "$top/scripts/need.sh"
need lintian lintian
need man man-db

# The README's commands: the indented lines of its Install section.
install_block=$(awk '/^## /{inside = ($0 == "## Install")} inside && /^    /{sub(/^    /, ""); print}' "$top/README.md")
[ -n "$install_block" ] || { echo "no commands in the README's Install section"; exit 1; }
package_commands=$(grep -v '^sudo cmake --install' <<<"$install_block")
cmake_install_command=$(grep '^sudo cmake --install' <<<"$install_block") ||
  { echo "the README names no cmake --install route"; exit 1; }

work=$top
if [ "$compiler" = clang ]; then
  export CC=clang CXX=clang++
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$top" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$work")
fi
cd "$work"
rm -rf build

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

echo "== README install route ($compiler): package"
printf '  %s\n' "$package_commands"
bash -euo pipefail -c "$package_commands" </dev/null

deb=$(ls build/tressin_*.deb)
# Stripped by binutils' strip whatever else is installed, so a clang build's
# package is the same on every machine.
strip_tool=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' build/CMakeCache.txt)
grep -q '^GNU strip' <<<"$("$strip_tool" --version)" ||
  { echo "the package was stripped by $strip_tool, not binutils' strip"; exit 1; }
echo "== lintian $(basename "$deb")"
# The metainfo names no homepage: the project has none yet, and an invented
# one would send software centres nowhere. Debian 13's lintian runs AppStream
# 1.0's validator, which warns of that alone; installed_files_validate runs
# the same validator with every other check (Debian 12's knows no such tag).
quiet=()
if lintian-explain-tags appstream-metadata-validation-failed >/dev/null 2>&1; then
  quiet=(--suppress-tags appstream-metadata-validation-failed)
fi
lintian --display-info --fail-on error,warning "${quiet[@]}" "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "${quiet[@]}" "$deb" >/dev/null 2>&1 || { echo "lintian reports errors or warnings"; exit 1; }

check_installed() {  # check_installed BINDIR
  local v
  v=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1/tressin" --version)
  [ "$v" = "Tressin 1.00" ] || { echo "tressin --version said: $v"; exit 1; }
  v=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1/tressin-snapshot" --version)
  [ "$v" = "Tressin 1.00" ] || { echo "tressin-snapshot --version said: $v"; exit 1; }
  v=$(env -u DISPLAY -u WAYLAND_DISPLAY "$1/tressin" --help)
  grep -q -- '--version' <<<"$v" ||
    { echo "tressin --help does not list --version"; exit 1; }
  echo "$1/tressin --version: Tressin 1.00"
}
dpkg-query -W -f='${Status} ${Version}\n' tressin
check_installed /usr/bin
man -w tressin tressin-snapshot
[ -f /usr/share/doc/tressin/copyright ] || { echo "no copyright file"; exit 1; }
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tressin >/dev/null

echo "== README install route ($compiler): $cmake_install_command"
bash -euo pipefail -c "$cmake_install_command" </dev/null >/dev/null
check_installed /usr/local/bin
xargs -a build/install_manifest.txt -d '\n' "${sudo[@]}" rm -f
echo "release route ($compiler) ok"
