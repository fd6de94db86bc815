#!/usr/bin/env bash
# Builds the suite twice (Release, and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs every test in both; then builds it for Windows, runs the tests under
# Wine and compares the Windows searches with the Linux ones
# (scripts/test-windows.sh; WINDOWS=0 leaves that out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=ON >/dev/null
cmake --build build/release -j"$jobs"
(cd build/release && ctest --output-on-failure --no-tests=error -j"$jobs")

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON -DSUITE_TESTS=ON >/dev/null
cmake --build build/asan -j"$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure --no-tests=error -j"$jobs")

if [ "${WINDOWS:-1}" != 0 ]; then
  COMPARE_WITH="$root/build/release/bin" bash scripts/test-windows.sh
fi
