#!/usr/bin/env bash
# The main job on the bundled sample: builds the suite, then opens Lorvane on the
# sample log with the command line "ERROR 0 FILE" (pre-read, then search) when a
# display is there, or runs the same search with lorvane-cli when none is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target Lorvane lorvane-cli Partivo Ferrybolt Snipkeep 2>/dev/null ||
  cmake --build build/run -j"$(nproc)" --target Lorvane lorvane-cli
sample="${1:-samples/sample.log}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/run/bin/Lorvane ERROR 0 "$sample"
fi
echo "No display here: running the same search with lorvane-cli instead of the window."
exec build/run/bin/lorvane-cli search ERROR 0 "$sample"
