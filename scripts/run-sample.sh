#!/usr/bin/env bash
# The main job on the bundled sample: builds the suite and pre-reads the sample log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target lorvane-cli
build/run/bin/lorvane-cli index "${1:-samples/sample.log}"
