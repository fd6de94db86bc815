#!/usr/bin/env bash
# Starts Lorvane under Xvfb onto a file and keyword, finds its window by its
# exact title, waits for the search's descriptor, and closes it with Esc twice.
set -u
program=$(realpath "$1")
sample=$(realpath "$2")
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run or xdotool missing"; exit 1
fi
work="$(dirname "$program")/__Lorvane__"
marker=$(mktemp)
trap 'rm -f "$marker"' EXIT

xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  program=$1; sample=$2; work=$3; marker=$4
  "$program" ERROR 0 "$sample" >/dev/null 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --name "^Lorvane v4.5.3 \(基于行的\)超大日志极速搜索/查看器$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window with the exact title"; kill $pid; exit 1; }
  descriptor=""
  for _ in $(seq 1 300); do
    descriptor=$(find "$work" -name result.lvn -newer "$marker" 2>/dev/null | head -n 1)
    [ -n "$descriptor" ] && break
    sleep 0.2
  done
  [ -n "$descriptor" ] || { echo "no result.lvn"; kill $pid; exit 1; }
  grep -q "^ERROR" <(sed -n 3p "$descriptor" | tr -d "\r") || { echo "descriptor without the keyword"; kill $pid; exit 1; }
  sleep 0.5
  xdotool key --window "$window" Escape 2>/dev/null  # the window may go at the key press
  sleep 0.2
  xdotool key --window "$window" Escape 2>/dev/null  # the window may go at the key press
  for _ in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || { echo "1 passed, 0 failed"; exit 0; }
    sleep 0.1
  done
  echo "still running after Esc twice"; kill $pid; exit 1
' smoke "$program" "$sample" "$work" "$marker"
