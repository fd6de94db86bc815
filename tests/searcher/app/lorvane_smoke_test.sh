#!/usr/bin/env bash
# Starts Lorvane under Xvfb onto a file and keyword, finds its window by its
# exact title, waits for the search's descriptor, and closes it with Esc twice.
# Every wait is on a condition; the bounds only end a hung run.
set -u
support=$(cd "$(dirname "$0")/../../test_support" && pwd)
within=$support/within.sh
source "$support/own_display.sh"
sample=$(realpath "$2")
command -v xdotool >/dev/null || { echo "xdotool missing"; exit 1; }
# A folder of its own for the program, its work directory and its temporary
# files: no other test's searches land in its work directory, and a Lorvane
# the user runs meanwhile (holding the single-instance socket in the usual
# temporary folder) can't take this start over.
own=$(mktemp -d)
trap 'rm -rf "$own"' EXIT
cp "$1" "$own/Lorvane"
program=$own/Lorvane
work=$own/__Lorvane__
marker=$own/marker
touch "$marker"
export TMPDIR="$own"
export XDG_RUNTIME_DIR="$own"  # and so is the single-instance claim
# Its workers at normal priority: at idle priority they wait for as long as
# anything else keeps the machine busy.
export SUITE_WORKER_PRIORITY=normal

on_own_display 1280x900x24 bash -c '
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
