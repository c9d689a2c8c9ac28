#!/usr/bin/env bash
# Start-up to a visible window, and peak memory, of the real program in a
# real X window: median of N runs (default 10). Prints figures; asserts
# nothing. Needs a built tree (build/) and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
program=$PWD/build/app/tressin
tool=$PWD/build/tests/ui/x11_window

if [ -z "${INSIDE_XVFB:-}" ]; then
  exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

times=()
peaks=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" >/dev/null 2>&1 &
  pid=$!
  "$tool" Kobrel --timeout 30 >/dev/null
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
  "$tool" Kobrel --close >/dev/null
  wait "$pid"
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
echo "start-up to visible window: median $(median "${times[@]}") ms over $runs runs (all: ${times[*]})"
echo "peak resident memory: median $(median "${peaks[@]}") KiB"
