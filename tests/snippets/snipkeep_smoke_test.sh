#!/usr/bin/env bash
# Starts Snipkeep under Xvfb from a fresh folder: its first run makes config/
# beside it and shows the bare title; a second start ends at once and opens no
# window of its own; Esc ends the program. Every wait is on a condition; the
# bounds only end a hung run.
set -u
support=$(cd "$(dirname "$0")/../test_support" && pwd)
within=$support/within.sh
source "$support/own_display.sh"
program=$(realpath "$1")
command -v xdotool >/dev/null || { echo "xdotool missing"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/Snipkeep"
# The instance socket lies in the temporary directory: this run sees no other.
export TMPDIR="$work"
export XDG_RUNTIME_DIR="$work"  # and so is the single-instance claim

on_own_display 1280x900x24 bash -c '
  work=$1; within=$2
  cd "$work"
  source "$within"
  find_window() { window=$(xdotool search --name "^Snipkeep  v0\.5\.2 \(2004\.11\.28 Sunday\)$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
  gone() { ! kill -0 $pid 2>/dev/null; }
  gone_after_escape() {
    gone && return 0
    xdotool key --window "$window" Escape 2>/dev/null  # the window may go at the key press
    within 2 gone
  }
  ./Snipkeep >/dev/null 2>"$work/first.err" &
  pid=$!
  within 120 find_window || { echo "no window with the bare title"; cat "$work/first.err"; kill $pid; exit 1; }
  [ -d "$work/config" ] || { echo "no config directory beside the program"; kill $pid; exit 1; }
  timeout 120 ./Snipkeep >/dev/null 2>&1
  second=$?
  [ $second -eq 0 ] || { echo "second start ended with $second"; kill $pid; exit 1; }
  count=$(xdotool search --name "^Snipkeep  v0\.5\.2" 2>/dev/null | wc -l)
  [ "$count" -eq 1 ] || { echo "$count windows after the second start"; kill $pid; exit 1; }
  gone && { echo "the first instance went"; exit 1; }
  within 60 gone_after_escape || { echo "still running after Esc"; kill $pid; exit 1; }
  echo "1 passed, 0 failed"
' smoke "$work" "$within"
