#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up, builds and runs every test, and every route the README documents:
#  - the whole tree in Release with GCC and with clang, warnings as errors,
#    and its tests (core, shared texts, window, the real program in an X
#    server and on a Wayland desktop, install checks);
#  - the core once more under AddressSanitizer and UndefinedBehaviorSanitizer,
#    and a bounded libFuzzer run;
#  - the core's tests with clang and libc++, with MinGW-w64 under Wine, and
#    with Emscripten under node; with Debian's cross compilers for arm64,
#    armhf, i386 and s390x under qemu-user, and the same bits as here for a
#    fixed set of cases on each;
#  - the Win32 window's tests in-process under Wine in a virtual X server;
#    the README's Windows build section word for word; the real tressin.exe
#    used by keyboard from outside, and through ibus-Mozc; the zip, and the
#    MSI installed silently, upgraded, a downgrade refused, and removed, and
#    its tables read as Windows Installer reads them; the signing route with
#    a throwaway certificate and a local time-stamp server;
#  - the web page built as the README says, and tested in headless Chromium
#    (on web hosts of every kind too), Firefox and WebKit;
#  - the README's section on building the Linux package word for word, with
#    GCC and with clang: the package built (its tests run as it builds),
#    lintian on it and on the source package, hardening-check, and every
#    install (and the autopkgtest) in a throwaway root, never on this
#    machine; a build without any test framework;
#  - the README's release route in a throwaway root, the release folder
#    checked (the arm64 package run under qemu-user), and made again
#    elsewhere, as another user, with another umask, and compared byte for
#    byte;
#  - one smoke run of each measuring script (figures printed, not judged).
# Exits non-zero on the first failure.
set -euo pipefail
# A step that fails without a word of its own still says which it was.
trap 'echo "test.sh: line $LINENO failed (exit $?): $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
jobs=$(nproc)
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

bash scripts/setup.sh --test
source scripts/need.sh
need xvfb-run xvfb
need node nodejs
need clang++ clang
need /usr/lib/wine/wine64 wine64
need emcc emscripten
need chromium chromium
need firefox-esr firefox-esr

elapsed() { printf '%d:%02d' $((SECONDS / 60)) $((SECONDS % 60)); }
summary=()
passed_total=0
failed_total=0
count() {  # count NAME PASSED FAILED
  summary+=("$1: $2 passed, $3 failed")
  passed_total=$((passed_total + $2))
  failed_total=$((failed_total + $3))
}
run_ctest() {  # run_ctest NAME BUILD_DIR [ctest args...]
  local name=$1 dir=$2 log rc line
  shift 2
  log=$(mktemp)
  set +e
  (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@") 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  set -e
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1)
  # A test that could not run here must still run in CI.
  if [ "${CI:-}" = true ] && grep -E '^\s*[0-9]+ - .* \(Skipped\)$' "$log"; then
    echo "these tests were skipped, and CI must run them"
    rc=1
  fi
  rm -f "$log"
  if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    count "$name" $((BASH_REMATCH[2] - BASH_REMATCH[1])) "${BASH_REMATCH[1]}"
  fi
  return "$rc"
}
core_only=(-DTRESSIN_BUILD_QT=OFF -DTRESSIN_BUILD_WINDOWS=OFF -DTRESSIN_BUILD_BENCH=OFF)
from_source=(-DTRESSIN_GTEST_SOURCE=/usr/src/googletest)

echo "== [$(elapsed)] the README's and the guide's pictures, links and scripts"
bash tests/docs/links.sh
count "docs" 1 0

echo "== [$(elapsed)] the whole tree, Release, GCC, warnings as errors"
cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=Release -DTRESSIN_WERROR=ON >/dev/null
cmake --build build-ci -j"$jobs"
QT_QPA_PLATFORM=offscreen run_ctest gcc build-ci

echo "== [$(elapsed)] the whole tree, Release, clang, warnings as errors"
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release -DTRESSIN_WERROR=ON >/dev/null
cmake --build build-clang -j"$jobs"
QT_QPA_PLATFORM=offscreen run_ctest clang build-clang -LE 'install|x11'

echo "== [$(elapsed)] core under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug "${core_only[@]}" -DTRESSIN_WERROR=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build build-asan -j"$jobs" --target calc_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitizers build-asan -L calc

echo "== [$(elapsed)] fuzzing the text conversions"
if echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /tmp/tressin-fuzz-probe 2>/dev/null; then
  CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo "${core_only[@]}" \
    -DTRESSIN_BUILD_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target calc_fuzz
  run_ctest fuzz build-fuzz -L fuzz
else
  echo "clang with libFuzzer is not installed: fuzz run skipped"
  summary+=("fuzz: skipped, no clang with libFuzzer")
fi

echo "== [$(elapsed)] core with clang and libc++"
CC=clang CXX=clang++ cmake -S . -B build-libcxx -DCMAKE_BUILD_TYPE=Release "${core_only[@]}" "${from_source[@]}" \
  -DTRESSIN_WERROR=ON -DCMAKE_CXX_FLAGS=-stdlib=libc++ -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++ >/dev/null
cmake --build build-libcxx -j"$jobs"
run_ctest libc++ build-libcxx

# Cross builds run each GoogleTest program as one test; their own counts
# are shown and added up. Any arguments after the folder wrap ctest.
cross_ctest() {  # cross_ctest NAME BUILD_DIR [WRAPPER...]
  local name=$1 dir=$2 log rc passed failed skipped
  shift 2
  log=$(mktemp)
  set +e
  (cd "$dir" && "$@" ctest -V) 2>&1 | tee "$log" | grep -E '\[ *(PASSED|FAILED|SKIPPED) *\]|tests passed|Failed|FAILED'
  rc=${PIPESTATUS[0]}
  set -e
  # Each program's closing lines: "[  PASSED  ] N tests.", "[  FAILED  ] N tests,".
  total() { awk -v word="$1" '$0 ~ "\\[  " word " *\\] [0-9]+ tests?[.,]" {
    for (i = 1; i < NF; i++) if ($i ~ /^[0-9]+$/ && $(i + 1) ~ /^tests?[.,]/) s += $i } END {print s + 0}' "$log"; }
  passed=$(total PASSED)
  failed=$(total FAILED)
  skipped=$(total SKIPPED)  # neither passed nor failed
  count "$name" "$passed" "$failed"
  ((skipped == 0)) || summary+=("$name: $skipped skipped (see the notices above)")
  rm -f "$log"
  return "$rc"
}

echo "== [$(elapsed)] the core on every processor Debian builds for, with its cross compilers, under qemu-user"
# The core's tests, and its answers to a fixed set of cases compared line by
# line with this machine's: the same bits everywhere (big-endian s390x, and
# i386, whose x87 registers are wider than a double, included).
cmake --build build-ci -j"$jobs" --target calc_cases
build-ci/tests/calc/calc_cases >build-ci/calc_cases.txt
for triplet in aarch64-linux-gnu arm-linux-gnueabihf i686-linux-gnu s390x-linux-gnu; do
  dir=build-cross/$triplet
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/debian-cross.cmake -DTRESSIN_CROSS_TRIPLET="$triplet" \
    -DCMAKE_BUILD_TYPE=Release "${core_only[@]}" "${from_source[@]}" -DTRESSIN_WERROR=ON >/dev/null
  cmake --build "$dir" -j"$jobs" --target calc_tests ui_tests calc_cases
  cross_ctest "$triplet" "$dir"
  emulator=$(sed -n 's/^TRESSIN_QEMU:FILEPATH=//p' "$dir/CMakeCache.txt")
  "$emulator" "$dir/tests/calc/calc_cases" >"$dir/calc_cases.txt"
  if ! cmp -s build-ci/calc_cases.txt "$dir/calc_cases.txt"; then
    echo "$triplet computes other bits than this machine:"
    diff build-ci/calc_cases.txt "$dir/calc_cases.txt" | head -20
    exit 1
  fi
  count "$triplet: the same bits in $(wc -l <"$dir/calc_cases.txt") cases" 1 0
done

# One Wine prefix for every test, made up front; a fresh wineserver for each
# X server, so no Wine process outlives the display it was started on.
wine_prefix=$(bash scripts/wine-prefix.sh "$PWD/build-wine" --unmanaged)
export WINEPREFIX=$wine_prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
new_wine_session() { /usr/lib/wine/wineserver -k 2>/dev/null || true; /usr/lib/wine/wineserver -w; }
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

echo "== [$(elapsed)] the Windows edition and the core with MinGW-w64, under Wine in a virtual X server"
cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTRESSIN_BUILD_BENCH=OFF "${from_source[@]}" -DTRESSIN_WERROR=ON >/dev/null
cmake --build build-mingw -j"$jobs"
new_wine_session
cross_ctest mingw build-mingw "${xvfb[@]}"

echo "== [$(elapsed)] core with Emscripten, under node"
cmake -S . -B build-emscripten -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" -DCMAKE_BUILD_TYPE=Release \
  "${core_only[@]}" "${from_source[@]}" -DTRESSIN_WERROR=ON \
  "-DCMAKE_EXE_LINKER_FLAGS=-sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1" >/dev/null
cmake --build build-emscripten -j"$jobs" --target calc_tests ui_tests
cross_ctest emscripten build-emscripten

echo "== [$(elapsed)] the web page, built as the README says, in headless Chromium"
bash scripts/build-web.sh -DTRESSIN_WERROR=ON
log=$(mktemp)
set +e
(cd web/tests && TRESSIN_PAGE=build-web/web/tressin.html node --test) 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
set -e
pass=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$log")
fail=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$log")
rm -f "$log"
count web "${pass:-0}" "${fail:-0}"
[ "$rc" -eq 0 ]

echo "== [$(elapsed)] the README's Windows build section, word for word; the exe, zip and MSI under Wine"
windows_block=$(awk '/^#+ /{inside = ($0 == "### Building the Windows edition")} inside && /^    /{sub(/^    /, ""); print}' README.md)
grep -qx 'bash scripts/build-windows.sh' <<<"$windows_block" || { echo "the README's Windows build section names no build"; exit 1; }
while IFS= read -r line; do
  echo "\$ $line"
  case $line in
    *run-windows.sh*)  # without a display it says so; with one it runs until its window is closed
      # Read whole before searching: grep -q leaves early and the script's next line meets a closed pipe.
      out=$(env -u DISPLAY bash -c "$line")
      grep -q 'No display was found' <<<"$out"
      new_wine_session
      TRESSIN_WINEPREFIX=$WINEPREFIX timeout 300 "${xvfb[@]}" bash -c "$line & trap 'kill \$! 2>/dev/null' EXIT
        /usr/lib/wine/wine64 build-mingw/tests/windows/wintool.exe wait Kobrel && sleep 0.5 &&
        xdotool key alt+F4 && wait \$!" ;;
    *) bash -euo pipefail -c "$line" </dev/null ;;
  esac
done <<<"$windows_block"
count "windows route" 1 0
new_wine_session
timeout 600 "${xvfb[@]}" bash tests/windows/dist_test.sh build-windows/dist build-mingw/tests/windows/wintool.exe
count "windows dist" 1 0
timeout 600 "${xvfb[@]}" bash tests/windows/sign_test.sh
count "windows signing" 1 0
set +e
timeout 600 bash tests/windows/ime_session.sh build-windows/dist build-mingw/tests/windows/wintool.exe
rc=$?
set -e
if [ "$rc" -eq 77 ] && [ "${CI:-}" != true ]; then
  summary+=("windows ime: skipped, the input method could not start")
elif [ "$rc" -ne 0 ]; then
  echo "the Windows program with an input method: failed (exit $rc)"
  exit 1
else
  count "windows ime" 1 0
fi

echo "== [$(elapsed)] the README's Linux package section, with GCC and with clang: the Debian package, lintian, hardening-check; installs and autopkgtest in a throwaway root"
bash tests/qt/linux/release_route.sh gcc
count "install route (gcc)" 1 0
CXXFLAGS=-Werror bash tests/qt/linux/release_route.sh clang
count "install route (clang)" 1 0

echo "== [$(elapsed)] the README's release route, word for word, in a throwaway root; the folder as schools take it"
release_block=$(awk '/^#+ /{inside = ($0 == "## Releasing")} inside && /^    /{sub(/^ +/, ""); print}' README.md)
grep -qx 'bash scripts/release.sh' <<<"$release_block" || { echo "the README's Releasing section names no release.sh"; exit 1; }
if [ -n "$(git status --porcelain)" ] && [ "${CI:-}" != true ]; then
  # release.sh takes committed work only, as it must.
  echo "the tree has changes not committed: the release route and the reproducibility check are left out"
  summary+=("release, reproducible: skipped, the tree has changes not committed")
else
  as_me=()  # the set-up as root, the release as whoever runs the tests
  [ "$(id -u)" -eq 0 ] || as_me=(setpriv --reuid="$(id -u)" --regid="$(id -g)" --clear-groups)
  while IFS= read -r line; do
    echo "\$ $line"
    bash tests/qt/linux/throwaway_root.sh --bind "$PWD" -- bash -euo pipefail -c '
      cd "$1" && bash scripts/setup.sh --release >/dev/null
      shift
      "$@"' _ "$PWD" "${as_me[@]}" bash -euo pipefail -c "cd '$PWD' && $line" </dev/null
  done <<<"$release_block"
  bash tests/release/release_test.sh
  count "release" 1 0
  echo "== the same commit builds to the same bytes: the release made again elsewhere, as somebody else"
  bash tests/release/reproducible.sh
  count "reproducible ($(ls release/tressin-*/ | wc -l) files)" 1 0
fi

echo "== [$(elapsed)] the README's run command, without a display and in a virtual X server"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh)
grep -q 'No display was found' <<<"$out"
[ -s build/qt/tressin-snapshot.png ]
xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
  'bash scripts/run.sh >/dev/null 2>&1 & build-ci/tests/qt/x11_window Kobrel --close --timeout 300 && wait $!'
count "run route" 2 0

echo "== [$(elapsed)] the README's benchmark command"
cmake --build build --target calc_bench && build/bench/calc_bench
count "benchmark route" 1 0

echo "== [$(elapsed)] the program without any test framework"
cmake -S . -B build-notest -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON >/dev/null
cmake --build build-notest -j"$jobs" --target tressin tressin-snapshot
[ "$(build-notest/qt/tressin --version)" = "Tressin 1.00" ]
count "no test frameworks" 1 0

echo "== [$(elapsed)] measuring scripts, one smoke run each (figures only)"
bash scripts/measure-startup.sh 3
bash scripts/measure-web.sh 3
new_wine_session
bash scripts/measure-windows-startup.sh 3

echo "== [$(elapsed)] summary"
printf '%s\n' "${summary[@]}"
echo "$passed_total passed, $failed_total failed"
