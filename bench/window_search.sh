#!/usr/bin/env bash
# Runs the searcher's window as "Lorvane KEYWORD 0|1 FILE" does (pre-read,
# then search) under Qt's offscreen display, and ends it as soon as the
# search's descriptor is written: the benchmark times the window's own work.
#
#   bench/window_search.sh LORVANE KEYWORD 0|1 FILE
#
# The wait forks nothing (a glob and a timed read on an empty pipe): a poller
# that starts processes would take the CPU from the window's idle-priority
# workers and be timed as theirs.
set -euo pipefail
shopt -s nullglob
program=$1 keyword=$2 match=$3 file=$4
work="$(dirname "$program")/__Lorvane__"
mkdir -p "$work"
before=("$work"/2*/result.lvn)
exec {never}<> <(:)
QT_QPA_PLATFORM=offscreen "$program" "$keyword" "$match" "$file" >/dev/null 2>&1 &
pid=$!
# The descriptor is renamed into place whole: a new one means done.
while :; do
  now=("$work"/2*/result.lvn)
  (( ${#now[@]} > ${#before[@]} )) && break
  kill -0 "$pid" 2>/dev/null || { echo "window_search.sh: the window ended without a descriptor" >&2; exit 1; }
  read -r -t 0.002 -u "$never" _ || true
done
kill "$pid"
wait "$pid" 2>/dev/null || true
