#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building, running and packaging need, from Debian/Ubuntu
# packages; with --web, also Emscripten for the web page; with --windows,
# the MinGW-w64 cross compiler and wixl for the Windows edition; with
# --wine, Wine to run it; with --release, what scripts/release.sh builds
# with (the Windows and web editions, and the arm64 Debian package: its
# cross compiler, and its build dependencies of that architecture, after
# dpkg --add-architecture arm64); with --test, also what every test needs
# (other compilers, Wine, Emscripten, Chromium, an input method, lintian,
# and the web tests' npm packages from their lock file). Installs only what
# is missing, so running it again is cheap. Waits for the package manager's
# lock when another install (a desktop's own updater) holds it.
#
#   bash scripts/setup.sh [--web | --windows | --wine | --release | --test]
set -euo pipefail
cd "$(dirname "$0")/.."

required=(
  cmake make g++ pkg-config dpkg-dev file gzip   # build and package
  build-essential debhelper                      # the Debian package (dpkg-buildpackage)
  googletest libgtest-dev libbenchmark-dev       # core tests and benchmark
  libfast-float-dev libfmt-dev                   # number parsing in the core; the digits its tests check against
  qt6-base-dev qt6-qpa-plugins libgl-dev         # the window
  fonts-ipafont-gothic fontconfig                # Japanese text, metric-compatible
  xdg-utils sudo                                 # opening the page; the README's install step
)
test_required=(
  xvfb xauth libx11-dev xdotool                  # a real X window in tests
  sway wtype grim qt6-wayland                    # and a Wayland one: compositor, keys, pictures, Qt's plugin
  desktop-file-utils appstream lintian man-db    # installed-file and package checks
  devscripts autopkgtest                         # hardening-check, and the package's own test
  imagemagick                                    # screenshots of real windows
  ibus ibus-mozc dbus-daemon at-spi2-core       # a Japanese input method (Mozc), and
  gir1.2-atspi-2.0 python3-gi                    # the program read back as a screen reader does
  clang libc++-dev libc++abi-dev                 # the core with clang and libc++
  qemu-user g++-aarch64-linux-gnu g++-arm-linux-gnueabihf  # the core on Debian's other processors,
  g++-i686-linux-gnu g++-s390x-linux-gnu         # cross-built and run under qemu-user
  g++-mingw-w64-x86-64-posix wine64 fonts-wine wixl zip faketime  # the Windows edition, run under Wine
  msitools osslsigncode openssl strace           # the MSI's tables read back; the signing route, watched
  libstb-dev                                     # its PNG decoder
  nlohmann-json3-dev binutils-mingw-w64-x86-64   # its tests: the shared table, the exe's imports
  emscripten                                     # the core in WebAssembly, and the page
  chromium firefox-esr webkit2gtk-driver         # the page in real browsers (WebKit: its WebDriver and MiniBrowser)
)
# Fuzzing needs clang's libFuzzer runtime; without it the fuzz run is
# skipped with a notice rather than failing the set-up.
optional=(libclang-rt-dev)

with_tests=false
with_web=false  # the web page's build, which takes Workbox from npm
windows_required=(cmake make g++-mingw-w64-x86-64-posix libfast-float-dev libstb-dev wixl msitools zip faketime osslsigncode)
foreign=()  # another architecture's build dependencies, for a cross-built package
case "${1:-}" in
  --test) with_tests=true; with_web=true; required+=("${test_required[@]}") ;;
  --web) with_web=true; required+=(emscripten) ;;
  --windows) required=("${windows_required[@]}") ;;
  --wine) required=(wine64 fonts-wine fonts-ipafont-gothic fontconfig) ;;
  --release) with_web=true; required+=("${windows_required[@]}" emscripten crossbuild-essential-arm64); foreign=(arm64) ;;
  -h | --help) sed -n '3,15s/^# \{0,1\}//p' "$0"; exit 0 ;;
  "") ;;
  *) echo "usage: bash scripts/setup.sh [--web | --windows | --wine | --release | --test]" >&2; exit 2 ;;
esac
# Node.js and npm may come from elsewhere than Debian; only their commands matter.
case "${1:-}" in --windows | --wine) ;; *) command -v node >/dev/null || required+=(nodejs) ;; esac
if { $with_tests || $with_web; } && ! command -v npm >/dev/null; then required+=(npm); fi

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
# Waits up to 10 minutes for another apt or dpkg to finish, instead of failing.
apt_get() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; }

missing=()
for p in "${required[@]}"; do is_installed "$p" || missing+=("$p"); done
if $with_tests; then
  for p in "${optional[@]}"; do is_installed "$p" || missing+=("$p"); done
fi
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  apt_get update -qq
  required_missing=()
  for p in "${required[@]}"; do is_installed "$p" || required_missing+=("$p"); done
  if ((${#required_missing[@]})); then
    apt_get install -y -qq --no-install-recommends "${required_missing[@]}"
  fi
  if $with_tests; then
    for p in "${optional[@]}"; do
      is_installed "$p" || apt_get install -y -qq --no-install-recommends "$p" ||
        echo "setup: $p is not available here; the fuzz run will be skipped" >&2
    done
  fi
fi

# The package's build dependencies for another architecture, from Debian's
# own archive (multiarch), as debian/control lists them.
for arch in "${foreign[@]}"; do
  if ! dpkg-checkbuilddeps -a "$arch" -P cross,nocheck debian/control >/dev/null 2>&1; then
    echo "setup: installing the build dependencies of the $arch package"
    dpkg --print-foreign-architectures | grep -qx "$arch" || "${sudo[@]}" dpkg --add-architecture "$arch"
    apt_get update -qq
    apt_get build-dep -y -qq -a "$arch" -P cross,nocheck ./
  fi
done

# Workbox, for the page's service worker, exactly as the lock file pins it
# (again only when the lock file is newer than what is installed).
if $with_web && { [ ! -f web/node_modules/.package-lock.json ] ||
                  [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; }; then
  npm ci --prefix web --no-audit --no-fund
fi

# The browser tests' driver, exactly as the lock file pins it.
if $with_tests && [ ! -d web/tests/node_modules ]; then
  npm ci --prefix web/tests --no-audit --no-fund
fi
