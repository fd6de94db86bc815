#!/usr/bin/env bash
# The four window programs without a display: each prints the same notice and
# ends with status 1, never with Qt's abort, also when the display answers the
# check and is gone when Qt connects. Arguments: the display that closes every
# connection (test_support/closing_display), then the four programs.
set -u
closing_display=$1; shift
source "$(dirname "$0")/test_support/checks.sh"
# A display number no server listens on (none of its socket files is there).
number=$((5000 + RANDOM % 4000))
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
# A display that answers and then closes every connection: gone as Qt connects.
fifo=$(mktemp -u)
mkfifo "$fifo"
"$closing_display" >"$fifo" &
closing=$!
trap 'kill $closing 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 60 closing_number <"$fifo"
for program in "$@"; do
  name=$(basename "$program")
  err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1 >/dev/null; echo "exit $?")
  check "$name without DISPLAY" "$name: no display to show the window on (DISPLAY is not set).|exit 1" \
    "$(printf '%s' "$err" | sed -n '1p;$p' | paste -sd '|')"
  err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$number" "$program" 2>&1 >/dev/null; echo "exit $?")
  check "$name with a display nobody serves" "$name: no display to show the window on (no X server answers at DISPLAY=:$number).|exit 1" \
    "$(printf '%s' "$err" | sed -n '1p;$p' | paste -sd '|')"
  err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$closing_number" "$program" 2>&1 >/dev/null; echo "exit $?")
  check "$name with a display gone as it connects" "$name: no display to show the window on (no X server answers at DISPLAY=:$closing_number).|exit 1" \
    "$(printf '%s' "$err" | sed -n '1p;$p' | paste -sd '|')"
done
checks_done
