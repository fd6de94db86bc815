#!/usr/bin/env bash
# Follows a fresh log with lorvane-cli while lines are appended to it in
# batches, each batch waited for until its last result is printed, then ends
# the follow with SIGTERM. Prints the follow's peak memory (KB) and the
# seconds it ran: the benchmark holds the peak after many appends against the
# peak after few.
#
#   bench/follow_appends.sh LORVANE_CLI DIR BATCHES LINES_PER_BATCH
#
# Every line holds the keyword, so each is a result and the result files
# grow with the appends. SUITE_FOLLOW_MS=0: a look for every batch, however
# fast they come.
set -euo pipefail
cli=$1 dir=$2 batches=$3 lines=$4
log="$dir/follow.log" out="$dir/follow.out" peak="$dir/follow.peak"
printf 'start ERROR\r\n' >"$log"
: >"$out"
exec {never}<> <(:)
start=$EPOCHREALTIME
SUITE_FOLLOW_MS=0 /usr/bin/time -f '%M' -o "$peak" "$cli" follow ERROR 1 "$log" >"$out" 2>/dev/null &
pid=$!
# The last line of the output, without starting a process: read from its end.
last_line() {
  local chunk
  chunk=$(tail -c 200 "$out" 2>/dev/null || true)
  chunk=${chunk%$'\n'}
  printf '%s\n' "${chunk##*$'\n'}"
}
await() {  # await TEXT: until the output's last line ends in it
  local i
  for ((i = 0; i < 60000; i++)); do
    [[ $(last_line) == *"$1" ]] && return 0
    kill -0 "$pid" 2>/dev/null || { echo "follow_appends.sh: the follow ended:" >&2; tail -n 3 "$out" >&2; exit 1; }
    read -r -t 0.001 -u "$never" _ || true
  done
  echo "follow_appends.sh: no '$1' after a minute" >&2
  exit 1
}
await '，按 Ctrl-C 停止。'
for ((b = 1; b <= batches; b++)); do
  {
    for ((l = 1; l < lines; l++)); do printf 'line %d of batch %d ERROR\r\n' "$l" "$b"; done
    printf 'end of batch %d ERROR\r\n' "$b"
  } >>"$log"
  await "end of batch $b ERROR"
done
pkill -TERM -P "$pid"  # the follow, under time
wait "$pid" 2>/dev/null || true
end=$EPOCHREALTIME
printf '%s %s\n' "$(tail -n 1 "$peak")" "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')"
