#!/usr/bin/env bash
# The main job on the bundled sample: installs what building and running need,
# builds the programs (Release, in build/run), then opens Lorvane on the sample
# log with the command line "ERROR 0 FILE" (pre-read, then search) when a
# display is there, or runs the same search with lorvane-cli when none is.
# A failing build shows the compiler's messages and stops here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh run

fail() {
  echo >&2
  echo "run-sample: $*" >&2
  exit 1
}

cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null ||
  fail "configuring the build failed (CMake's messages are above)."

log=$(mktemp)
if ! cmake --build build/run -j"$(nproc)" \
    --target Lorvane lorvane-cli Snipkeep Ferrybolt Partivo partivo-cli 2>&1 | tee "$log"; then
  # With parallel jobs the errors may lie far up among the progress lines:
  # repeat them at the end.
  errors=$(grep -E -A2 'error:|undefined reference' "$log" || true)
  {
    echo
    if [ -n "$errors" ]; then
      echo "run-sample: the build failed. The compiler's errors:"
      head -n 60 <<<"$errors"
    else
      echo "run-sample: the build failed. Its last lines:"
      tail -n 20 "$log"
    fi
  } >&2
  rm -f "$log"
  fail "nothing was run; fix the errors above and run scripts/run-sample.sh again."
fi
rm -f "$log"

sample="${1:-samples/sample.log}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/run/bin/Lorvane ERROR 0 "$sample"
fi
echo "No display here: running the same search with lorvane-cli instead of the window."
exec build/run/bin/lorvane-cli search ERROR 0 "$sample"
