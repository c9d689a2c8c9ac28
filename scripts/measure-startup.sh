#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up time and peak memory of tressin against the barest Qt Widgets
# window (bench/bare_window.cpp) and against the floor for a window with
# Japanese text (bench/floor_jp.cpp: the bare window with one Japanese
# label), all built in Release with the same flags, and a naive dialog with
# the same widgets; with the Debian package's own program too (hardened,
# immediate binding) where the install route's test left it in build-deb/.
# Launched interleaved in a real X server (Xvfb). For each program: the
# median time from launch to its window being mapped (viewable), and the
# median peak resident memory (VmHWM), each with its ratio to the bare
# window's and to the floor's. Then tressin's start-up split into phases.
# Prints figures; asserts nothing.
#
#   bash scripts/measure-startup.sh [RUNS]      (default 20 launches each)
#   extra programs to compare: MEASURE_VARIANTS="name=/path/to/program:Window title ..."
set -euo pipefail
source "$(dirname "$0")/need.sh"
help_if_asked "$@"
cd "$(dirname "$0")/.."
runs=${1:-20}

if [ -z "${INSIDE_XVFB:-}" ]; then
  bash scripts/setup.sh --test >/dev/null
  cmake -S . -B build-measure -DCMAKE_BUILD_TYPE=Release -DTRESSIN_BUILD_BENCH=ON >/dev/null
  cmake --build build-measure -j"$(nproc)" --target tressin bare_window floor_jp naive_dialog x11_window >/dev/null
  exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

tool=$PWD/build-measure/tests/qt/x11_window
names=(bare tressin floorJP naive)
programs=("$PWD/build-measure/bench/bare_window" "$PWD/build-measure/qt/tressin" "$PWD/build-measure/bench/floor_jp"
          "$PWD/build-measure/bench/naive_dialog")
titles=(Bare Kobrel FloorJP Naive)
package=$(ls build-deb/tressin_*_amd64.deb 2>/dev/null | tail -1 || true)
if [ -n "$package" ]; then
  unpacked=$(mktemp -d)
  dpkg-deb -x "$package" "$unpacked"
  names+=(package)
  programs+=("$unpacked/usr/bin/tressin")
  titles+=(Kobrel)
fi
for v in ${MEASURE_VARIANTS:-}; do
  names+=("${v%%=*}")
  rest=${v#*=}
  programs+=("${rest%%:*}")
  titles+=("${rest#*:}")
done
cd "$PWD/build-measure/qt"  # where tressin finds its page, as when installed

now() { date +%s%N; }
launch() {  # launch INDEX: prints "ms kib"
  local start end pid peak
  start=$(now)
  "${programs[$1]}" >/dev/null 2>&1 &
  pid=$!
  "$tool" "${titles[$1]}" --timeout 30 >/dev/null
  end=$(now)
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  "$tool" "${titles[$1]}" --close >/dev/null
  wait "$pid" || true
  echo "$(((end - start) / 1000)) $peak"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

declare -A times peaks
for i in $(seq "$runs"); do
  # Interleaved, and each round in a rotated order, so drift hits all alike.
  for k in "${!names[@]}"; do
    j=$(((k + i) % ${#names[@]}))
    read -r us kib < <(launch "$j")
    times[$j]+="$us "
    peaks[$j]+="$kib "
  done
done

base_t=$(median ${times[0]})
base_m=$(median ${peaks[0]})
floor_t=$(median ${times[2]})
floor_m=$(median ${peaks[2]})
printf '%-12s %12s %8s %8s %14s %8s %8s\n' program "time (ms)" ratio ratio "peak RSS (MiB)" ratio ratio
for k in "${!names[@]}"; do
  t=$(median ${times[$k]})
  m=$(median ${peaks[$k]})
  awk -v n="${names[$k]}" -v t="$t" -v m="$m" -v bt="$base_t" -v bm="$base_m" -v ft="$floor_t" -v fm="$floor_m" \
    'BEGIN { printf "%-12s %12.1f %7.2fx %7.2fx %14.1f %7.2fx %7.2fx\n", n, t / 1000, t / bt, t / ft, m / 1024, m / bm, m / fm }'
done
echo "medians of $runs interleaved launches each, time from launch to the window being mapped; ratios to bare, then to floorJP"

# Where tressin's time goes: launch to main (loading and linking), creating
# QApplication, building Form1, and its first paint (until the event loop
# turns after it).
TMPDIR_TRACE=$(mktemp)
trap 'rm -f "$TMPDIR_TRACE"; rm -rf "${unpacked:-}"' EXIT
declare -A phase
for _ in $(seq "$runs"); do
  start=$(now)
  TRESSIN_STARTUP_TRACE=1 "${programs[1]}" 2>"$TMPDIR_TRACE" >/dev/null &
  pid=$!
  "$tool" Kobrel --timeout 30 >/dev/null
  "$tool" Kobrel --close >/dev/null
  wait "$pid" || true
  prev=$start
  for p in main application window painted; do
    t=$(awk -v p="$p" '$1 == "startup" && $2 == p {print $3}' "$TMPDIR_TRACE")
    phase[$p]+="$(((t - prev) / 1000)) "
    prev=$t
  done
done
echo "tressin, phase by phase (median ms):"
for p in main application window painted; do
  case $p in
    main) what="launch to main()" ;;
    application) what="QApplication" ;;
    window) what="building Form1" ;;
    painted) what="first paint" ;;
  esac
  awk -v w="$what" -v t="$(median ${phase[$p]})" 'BEGIN { printf "  %-32s %7.1f\n", w, t / 1000 }'
done
