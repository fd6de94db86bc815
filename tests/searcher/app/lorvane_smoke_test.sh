#!/usr/bin/env bash
# Starts Lorvane under Xvfb onto a file and keyword, finds its window by its
# exact title, waits for the search's descriptor, and closes it with Esc twice.
# Every wait is on a condition; the bounds only end a hung run.
set -u
within=$(cd "$(dirname "$0")/../../test_support" && pwd)/within.sh
program=$(realpath "$1")
sample=$(realpath "$2")
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run or xdotool missing"; exit 1
fi
work="$(dirname "$program")/__Lorvane__"
marker=$(mktemp)
# A temporary folder of its own: a Lorvane the user runs meanwhile holds the
# single-instance socket in the usual one, and would take this start over.
own_tmp=$(mktemp -d)
trap 'rm -rf "$marker" "$own_tmp"' EXIT
export TMPDIR="$own_tmp"

xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  program=$1; sample=$2; work=$3; marker=$4; within=$5
  source "$within"
  find_window() { window=$(xdotool search --name "^Lorvane v4.5.3 \(基于行的\)超大日志极速搜索/查看器$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
  find_descriptor() { descriptor=$(find "$work" -name result.lvn -newer "$marker" 2>/dev/null | head -n 1); [ -n "$descriptor" ]; }
  # Esc twice in one go; again while the program runs, in case a busy window
  # let its one-second hint lapse between the two.
  gone() { ! kill -0 $pid 2>/dev/null; }
  gone_after_escape_twice() {
    gone && return 0
    xdotool key --window "$window" Escape Escape 2>/dev/null  # the window may go at the key press
    within 2 gone
  }
  "$program" ERROR 0 "$sample" >/dev/null 2>&1 &
  pid=$!
  within 120 find_window || { echo "no window with the exact title"; kill $pid; exit 1; }
  within 120 find_descriptor || { echo "no result.lvn"; kill $pid; exit 1; }
  grep -q "^ERROR" <(sed -n 3p "$descriptor" | tr -d "\r") || { echo "descriptor without the keyword"; kill $pid; exit 1; }
  within 60 gone_after_escape_twice || { echo "still running after Esc twice"; kill $pid; exit 1; }
  echo "1 passed, 0 failed"
' smoke "$program" "$sample" "$work" "$marker" "$within"
