#!/usr/bin/env bash
# Output that can't be written: every command of the console programs, with
# stdout on a full device or closed, says so on stderr and exits 1; a reader
# that went away ends it quietly, as with grep or split.
# Usage: stdout_write_test.sh LORVANE_CLI PARTIVO_CLI
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/test_support/checks.sh"
export LC_ALL=C.UTF-8 SUITE_CODEPAGE=gbk

# Copies, so that their work directories lie in $work.
mkdir "$work/bin"
cp "$(realpath "$1")" "$(realpath "$2")" "$work/bin/"
lorvane_cli="$work/bin/lorvane-cli"
partivo_cli="$work/bin/partivo-cli"

yes 'one ERROR line' | head -n 12000 > "$work/a.log"
history=$("$lorvane_cli" search ERROR 0 "$work/a.log" | tail -n 1)
descriptor="$history/result.lvn"
[ -f "$descriptor" ] || { echo "FAIL setup: no descriptor from the search"; exit 1; }

commands=(
  "$lorvane_cli|index $work/a.log"
  "$lorvane_cli|search ERROR 0 $work/a.log"
  "$lorvane_cli|restore $descriptor"
  "$lorvane_cli|page $descriptor 5"
  "$lorvane_cli|view $descriptor 1 2"
  "$lorvane_cli|history"
  "$lorvane_cli|--help"
  "$lorvane_cli|--version"
  "$partivo_cli|split $work/a.log 10000"
  "$partivo_cli|--help"
  "$partivo_cli|--version"
)

# A pipe with a writer (descriptor 8) and no reader left: writing to it fails
# with EPIPE at once, however fast or slow the program.
mkfifo "$work/fifo"
exec 7<>"$work/fifo" 8>"$work/fifo" 7<&-

for entry in "${commands[@]}"; do
  program=${entry%%|*}
  name=$(basename "$program")
  read -r -a args <<< "${entry#*|}"
  label="$name ${args[0]}"

  "$program" "${args[@]}" >/dev/full 2>"$work/err"
  check "$label, stdout full: exit" 1 "$?"
  check "$label, stdout full: message" "$name: can't write to stdout: No space left on device" \
    "$(grep "^$name: can't write" "$work/err")"

  "$program" "${args[@]}" >&- 2>"$work/err"
  check "$label, stdout closed: exit" 1 "$?"
  check "$label, stdout closed: message" "$name: can't write to stdout: Bad file descriptor" \
    "$(grep "^$name: can't write" "$work/err")"

  # The reader gone: SIGPIPE ends the program silently, as it always has ...
  "$program" "${args[@]}" >&8 2>"$work/err"
  check "$label, reader gone: killed by SIGPIPE" 141 "$?"
  check "$label, reader gone: nothing on stderr" "" "$(cat "$work/err")"
  # ... and with SIGPIPE ignored, EPIPE ends it as quietly, with its own status.
  (trap '' PIPE; exec "$program" "${args[@]}" >&8 2>"$work/err")
  check "$label, reader gone, SIGPIPE ignored: exit" 0 "$?"
  check "$label, reader gone, SIGPIPE ignored: nothing on stderr" "" "$(cat "$work/err")"

  "$program" "${args[@]}" 2>"$work/err" | head -c1 >/dev/null
  check "$label, | head -c1: nothing on stderr" "" "$(cat "$work/err")"
done
exec 8>&-

# A command that fails anyway still says its output was lost; its status stays 1.
"$lorvane_cli" index "$work/none.log" >/dev/full 2>"$work/err"
check "failed command, stdout full: exit" 1 "$?"
check "failed command, stdout full: its own message" 1 "$(grep -c '预读失败' "$work/err")"
check "failed command, stdout full: the write error" 1 "$(grep -c "^lorvane-cli: can't write to stdout" "$work/err")"
# Bad arguments write nothing to stdout: their status stays 2.
check "bad arguments, stdout closed" 2 "$("$lorvane_cli" index >&- 2>/dev/null; echo $?)"
check "bad arguments, stdout closed (partivo-cli)" 2 "$("$partivo_cli" split >&- 2>/dev/null; echo $?)"

checks_done
