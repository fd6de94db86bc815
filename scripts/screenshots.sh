#!/usr/bin/env bash
# Screenshots of Lorvane as a user sees it, under a virtual display: the main
# window after a search with a result's virtual page shown, and the
# Notepad-Embedded window with the result page (F3). Writes them to DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-/tmp/lorvane-shots}")
mkdir -p "$out"
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target Lorvane >/dev/null
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  program=$1; sample=$2; out=$3
  work="$(dirname "$program")/__Lorvane__"
  marker=$(mktemp)
  "$program" ERROR 0 "$sample" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 300); do
    [ -n "$(find "$work" -name result.lvn -newer "$marker" 2>/dev/null)" ] && break
    sleep 0.2
  done
  sleep 1
  window=$(xdotool search --name "^Lorvane v4.5.3" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The fifth result of the list: its virtual page, the centre line selected.
  xdotool mousemove $((X + 370)) $((Y + 243)) click 1
  sleep 1.5
  import -window root "$out/main-window.png"
  xdotool key F3
  sleep 1
  import -window root "$out/notepad.png"
  xdotool key F3
  sleep 0.5
  kill $pid
  rm -f "$marker"
' shots "$root/build/run/bin/Lorvane" "$root/samples/sample.log" "$out"
echo "$out/main-window.png"
echo "$out/notepad.png"
