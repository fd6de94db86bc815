#!/usr/bin/env bash
# Screenshots of the windows as a user sees them, each on a virtual display of
# its own, written to DIR:
#   main-window.png, notepad.png   Lorvane after a search, a result's virtual
#                                  page shown; the notepad with the result page (F3)
#   main-1366x768-150.png, history-1366x768-150.png
#                                  Lorvane and its history browser (F2) on a
#                                  1366x768 screen at 150 %
#   main-1024x768.png, history-1024x768.png
#                                  the same on a 1024x768 screen
#   partivo-1366x768-150.png       Partivo at 150 % after a long path's failure
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-/tmp/lorvane-shots}")
mkdir -p "$out"
cd "$root"
bash scripts/setup.sh
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target Lorvane Partivo >/dev/null
source tests/test_support/own_display.sh

# The programs in a folder of their own: their work directories stay there.
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
cp build/run/bin/Lorvane build/run/bin/Partivo "$place/"
cp samples/sample.log "$place/"
export TMPDIR=$place

shots() {  # SCREEN NAME... : a run of Lorvane on the sample; each NAME is a step below
  local screen=$1; shift
  on_own_display "$screen" bash -c '
    place=$1; out=$2; shift 2
    source "'"$root"'/tests/test_support/within.sh"
    "$place/Lorvane" ERROR 0 "$place/sample.log" >/dev/null 2>&1 &
    pid=$!
    marker=$place/marker; touch "$marker"
    found() { [ -n "$(find "$place/__Lorvane__" -name result.lvn -newer "$marker" 2>/dev/null)" ]; }
    within 120 found || { echo "no search"; kill $pid; exit 1; }
    window=$(xdotool search --name "^Lorvane v4.5.3" | head -n 1)
    sleep 4  # the help hints blink for a few seconds at start
    for step in "$@"; do
      case $step in
        page:*)  # the fifth result: its virtual page, the centre line selected
          eval "$(xdotool getwindowgeometry --shell "$window")"
          xdotool mousemove $((X + 370)) $((Y + 243)) click 1; sleep 1.5
          import -window root "$out/${step#page:}" ;;
        notepad:*) xdotool key F3; sleep 1; import -window root "$out/${step#notepad:}"; xdotool key F3; sleep 0.5 ;;
        history:*) xdotool key --window "$window" F2; sleep 1.5; import -window root "$out/${step#history:}"; xdotool key F2; sleep 0.5 ;;
        *) import -window root "$out/$step" ;;
      esac
    done
    kill $pid
    rm -f "$marker"
  ' shots "$place" "$out" "$@"
}

shots 1280x900x24 page:main-window.png notepad:notepad.png
QT_SCALE_FACTOR=1.5 shots 1366x768x24 main-1366x768-150.png history:history-1366x768-150.png
shots 1024x768x24 main-1024x768.png history:history-1024x768.png

# Partivo: a folder with a long name as the file to split fails to open.
long="$place/$(printf 'logs-of-the-night-shift-%.0s' 1 2 3 4)archive.txt"
mkdir -p "$long"
QT_SCALE_FACTOR=1.5 on_own_display 1366x768x24 bash -c '
  place=$1; out=$2; long=$3
  "$place/Partivo" >/dev/null 2>&1 &
  pid=$!
  sleep 2
  window=$(xdotool search --name "^Cleavora" | head -n 1)
  xdotool windowfocus --sync "$window"
  xdotool type --delay 2 "$long"
  xdotool key Tab Tab space  # to "开始分割"
  sleep 1.5
  import -window root "$out/partivo-1366x768-150.png"
  kill $pid
' partivo "$place" "$out" "$long"
ls "$out"/*.png
