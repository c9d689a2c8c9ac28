#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit and window tests, the core
# once more under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# bounded libFuzzer run. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/setup.sh

summary=()
passed_total=0
failed_total=0
run_ctest() {  # run_ctest NAME BUILD_DIR [ctest args...]
  local name=$1 dir=$2 log
  shift 2
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@") 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1)
  summary+=("$name: $line")
  if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed_total=$((failed_total + BASH_REMATCH[1]))
    passed_total=$((passed_total + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
  rm -f "$log"
  return "$rc"
}

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen run_ctest main build

echo "== core under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTRESSIN_BUILD_UI=OFF -DTRESSIN_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build build-asan -j"$jobs" --target calc_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitizers build-asan -L calc

echo "== fuzzing the text conversions"
if command -v clang++ >/dev/null && echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /tmp/tressin-fuzz-probe 2>/dev/null; then
  CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRESSIN_BUILD_UI=OFF \
    -DTRESSIN_BUILD_BENCH=OFF -DTRESSIN_BUILD_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$jobs" --target calc_fuzz
  run_ctest fuzz build-fuzz -L fuzz
else
  echo "clang with libFuzzer is not installed: fuzz run skipped"
  summary+=("fuzz: skipped, no clang with libFuzzer")
fi

echo "== summary"
printf '%s\n' "${summary[@]}"
echo "$passed_total passed, $failed_total failed"
