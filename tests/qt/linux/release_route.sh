#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's section on building the Linux package, run word for word as a user would, in a copy
# of this tree (dpkg-buildpackage writes the package beside the tree): the
# Debian package built with dpkg-buildpackage, checked by lintian and by
# hardening-check, and what it holds; then each command that installs
# (the lines with sudo) in a throwaway root, never on this machine: the
# package installed with apt-get and used as a user would, its autopkgtest,
# and the build installed into /usr/local with cmake --install.
#
#   release_route.sh gcc      (the package is kept in build-deb/ for the reproducibility test)
#   release_route.sh clang    the same with CC=clang CXX=clang++
# CXXFLAGS given to this script reach the package's build too.
set -euo pipefail
compiler=${1:-gcc}
top=$(cd "$(dirname "$0")/../../.." && pwd)
source "$top/scripts/need.sh"
need lintian lintian
need hardening-check devscripts
need autopkgtest autopkgtest
need dpkg-buildpackage dpkg-dev
throwaway=(env DEBIAN_FRONTEND=noninteractive bash "$top/tests/qt/linux/throwaway_root.sh")
fail() { echo "FAILED: $*"; exit 1; }

# The README's commands: the indented lines of its Install section.
install_block=$(awk '/^#+ /{inside = ($0 == "### Building the Linux package")} inside && /^    /{sub(/^    /, ""); print}' "$top/README.md")
[ -n "$install_block" ] || fail "no commands in the README's section on building the Linux package"
grep -q '^dpkg-buildpackage ' <<<"$install_block" || fail "the README builds no Debian package"
grep -q '^sudo cmake --install' <<<"$install_block" || fail "the README names no cmake --install route"

# The package takes its flags from dpkg-buildflags, and ours on top of them.
extra=${CXXFLAGS:-}
check=()
if [ "$compiler" = clang ]; then
  # The package's tests run in the first route's build; built with clang,
  # the same tests run with the rest of the tree's.
  check=(DEB_BUILD_OPTIONS=nocheck)
  export CC=clang CXX=clang++
  # Debian's dwz, which packs the debug symbols, reads no clang DWARF 5.
  extra="$extra -gdwarf-4"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tressin
mkdir "$tree"
(cd "$top" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$tree")
cd "$tree"

echo "== README install route ($compiler)"
while IFS= read -r line; do
  echo "\$ $line"
  case $line in
    sudo\ *)  # installs: in a throwaway root, with this tree and the package beside it
      "${throwaway[@]}" --bind "$work" -- bash -euo pipefail -c "cd '$tree' && $line" </dev/null >/dev/null
      case $line in
        *apt-get\ install*)
          # The package as a user meets it, in a throwaway root of its own.
          "${throwaway[@]}" --bind "$work" -- bash -euo pipefail -c "cd '$tree' && $line >/dev/null &&
            test \"\$(env -u DISPLAY -u WAYLAND_DISPLAY tressin --version)\" = 'Tressin 1.00' &&
            env -u DISPLAY -u WAYLAND_DISPLAY tressin --help | grep -q -- --version &&
            man -w tressin >/dev/null && test -f /usr/share/doc/tressin/copyright &&
            grep -qx Path=/usr/share/tressin /usr/share/applications/org.example.Tressin.desktop &&
            ! command -v tressin-snapshot && echo 'installed: tressin --version, --help, man page, copyright, desktop entry'" </dev/null
          echo "== autopkgtest, in a throwaway root"
          "${throwaway[@]}" --bind "$work" -- autopkgtest "$(ls "$work"/tressin_*_amd64.deb)" "$tree" -- null >"$work/autopkgtest.log" 2>&1 ||
            { tail -40 "$work/autopkgtest.log"; fail "autopkgtest"; }
          grep -E '^smoke +PASS' "$work/autopkgtest.log" | head -1 ;;
        *cmake\ --install*)
          "${throwaway[@]}" --bind "$work" -- bash -euo pipefail -c "cd '$tree' && $line >/dev/null &&
            test \"\$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/local/bin/tressin --version)\" = 'Tressin 1.00' &&
            test -x /usr/local/libexec/tressin/tressin-snapshot && echo 'installed into /usr/local'" </dev/null ;;
      esac ;;
    dpkg-buildpackage*)
      env -u CXXFLAGS DEB_CXXFLAGS_APPEND="$extra" "${check[@]}" bash -euo pipefail -c "$line" </dev/null >"$work/build.log" 2>&1 ||
        { tail -40 "$work/build.log"; fail "$line"; } ;;
    *) bash -euo pipefail -c "$line" </dev/null >/dev/null ;;
  esac
done <<<"$install_block"

deb=$(ls "$work"/tressin_*_amd64.deb)
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
lintian --fail-on error,warning "${quiet[@]}" "$deb" >/dev/null 2>&1 || fail "lintian reports errors or warnings"

# Once, with the first route: the source is the same for both.
if [ "$compiler" = gcc ]; then
  echo "== the source package (dpkg-source -b), lintian --pedantic"
  mkdir -p "$work/source/tressin"
  (cd "$top" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$work/source/tressin")
  (cd "$work/source" && dpkg-source -b tressin >/dev/null)
  dsc=$(ls "$work"/source/tressin_*.dsc)
  tags=$(lintian --pedantic --display-info "$dsc" 2>&1 | grep -v 'running with root privileges' || true)
  [ -z "$tags" ] || echo "$tags"
  # A lintian older than the policy the package follows (Debian 12's knows 4.6.2)
  # says so; that is all it may say.
  newer=$(sed -n 's/.* newer-standards-version \([^ ]*\) (current is \([^)]*\))$/\1 \2/p' <<<"$tags")
  if [ -n "$newer" ]; then
    read -r ours known <<<"$newer"
    echo "(this lintian knows Debian's policy up to $known; the package follows $ours, Debian 13's)"
    tags=$(grep -v ' newer-standards-version ' <<<"$tags" || true)
  fi
  [ -z "$tags" ] || fail "lintian --pedantic finds the source package wanting"
  echo "lintian --pedantic: the source package is clean"
fi

echo "== what the package holds"
info=$(dpkg-deb -I "$deb")
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-ipafont-gothic; do
  grep -q "$needed" <<<"$depends" || fail "missing dependency: $needed"
done
# A Wayland desktop gets a native window, not one through XWayland.
grep -q '^ Recommends:.*qt6-wayland' <<<"$info" || fail "qt6-wayland is not recommended"
version=$(bash "$top/scripts/version.sh")
grep -qx " Version: $version" <<<"$info" || fail "not version $version"
id=org.example.Tressin
for f in ./usr/bin/tressin ./usr/libexec/tressin/tressin-snapshot ./usr/share/tressin/denryoku.html \
         ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/icons/hicolor/scalable/apps/$id.svg; do
  grep -qx "$f" <<<"$contents" || fail "not in the package: $f"
done
[ "$(grep -c '^\./usr/bin/.' <<<"$contents")" -eq 1 ] || fail "more than the program in /usr/bin"

echo "== hardening-check"
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
lenient=()
# Built with _FORTIFY_SOURCE as well, clang 14 turns none of these programs'
# few fortifiable calls into a checked one; the Debian build (GCC) does.
if [ "$compiler" = clang ]; then lenient=(--nofortify); fi
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  lenient+=(--nocfprotection)
  echo "hardening-check --nocfprotection: Debian 12's and 13's C start-up files, libstdc++ and Qt carry no IBT/SHSTK marking, so no program linked with them has control-flow protection"
  # Debian 13's hardening-check also asks every program for arm64's branch
  # protection, which no amd64 program can have.
  if grep -q nobranchprotection "$(command -v hardening-check)"; then lenient+=(--nobranchprotection); fi
fi
hardening-check "${lenient[@]}" "$unpacked/usr/bin/tressin" "$unpacked/usr/libexec/tressin/tressin-snapshot" ||
  fail "not hardened"
# What is not asked for is still reported as it is: no forced marking.
if hardening-check "$unpacked/usr/bin/tressin" | grep -q 'Control flow integrity: yes'; then
  libc_start=$(gcc -print-file-name=Scrt1.o)
  readelf -n "$libc_start" | grep -q 'IBT' || fail "the program claims control-flow protection that $libc_start has not got"
fi
# Stack clash protection shows only in functions with large frames; the
# compiler's record of its options (in the debug symbols) shows it. Branch
# protection is checked where Debian's own flags ask for it.
dpkg-deb -x "$(ls "$work"/tressin-dbgsym_*_amd64.deb)" "$work/dbgsym"
# (GCC records them; clang does not, and is left to hardening-check.)
units=$(for f in $(find "$work/dbgsym" -type f); do readelf -z -p .debug_str "$f" 2>/dev/null; done |
  grep -o 'GNU C++.*' | sort -u || true)
if [ -n "$units" ]; then
  wanted=(-fstack-clash-protection)
  if DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS | grep -q -- -fcf-protection; then
    wanted+=(-fcf-protection)
  fi
  for flag in "${wanted[@]}"; do
    if grep -qv -- "$flag" <<<"$units"; then fail "a unit built without $flag"; fi
  done
  echo "every unit built with ${wanted[*]}"
fi

if [ "$compiler" = gcc ]; then
  mkdir -p "$top/build-deb"
  cp "$deb" "$top/build-deb/"
fi
echo "release route ($compiler) ok"
