#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian/Ubuntu
# packages. Installs only what is missing, so running it again is cheap.
set -euo pipefail

required=(
  cmake make g++ pkg-config                      # build
  googletest libgtest-dev libbenchmark-dev       # core tests and benchmark
  qt6-base-dev qt6-qpa-plugins libgl-dev         # the window
  fonts-ipafont-gothic fontconfig                # Japanese text, metric-compatible
  xvfb xauth libx11-dev xdotool                  # a real X window in tests
  desktop-file-utils appstream dpkg-dev file     # installed-file checks, .deb
)
# Fuzzing needs clang with its libFuzzer runtime; without it the fuzz run is
# skipped with a notice rather than failing the set-up.
optional=(clang libclang-rt-dev)

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${required[@]}" "${optional[@]}"; do is_installed "$p" || missing+=("$p"); done
((${#missing[@]})) || exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
apt_get() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }

echo "setup: installing ${missing[*]}"
apt_get update -qq
required_missing=()
for p in "${required[@]}"; do is_installed "$p" || required_missing+=("$p"); done
if ((${#required_missing[@]})); then
  apt_get install -y -qq --no-install-recommends "${required_missing[@]}"
fi
for p in "${optional[@]}"; do
  is_installed "$p" || apt_get install -y -qq --no-install-recommends "$p" ||
    echo "setup: $p is not available here; the fuzz run will be skipped" >&2
done
