#!/usr/bin/env bash
# Benchmark: builds the suite in Release, generates a large CR LF log and
# times our tools against standard ones on it, with the page cache warm.
#
#   bench/run.sh
#
# Environment:
#   SIZE        size of the generated log: bytes or K/M/G (1024-based); default 1G
#   RUNS        timed runs per command; default 5
#   BENCH_DIR   where generated logs are kept; default /tmp/suite-bench
#   SKIP_SETUP  set to 1 to skip installing missing packages
#   SPARSE_SIZE size of the sparse file without LF of the last rows; default 3G, 0 leaves them out
#
# Set-up: on Debian (run as root, or with sudo available) missing tools are
# installed with apt-get.  The generated log is reused while it has the
# expected size; delete it to force a new one.
#
# Each comparison runs its two commands alternately (A B A B ...), so that
# drifts in machine load hit both alike.  Every run's wall time, peak memory
# (peak RSS in KB) and CPU are taken by bench-measure (bench_measure.cpp, built
# with the suite); the table shows the medians, and the median of the
# per-pair ratios A/B.
#
# To add a comparison, add a line at the end of main():
#   compare NAME "COMMAND A" "COMMAND B"
# Commands are shell words (quotes allowed; no pipes or redirections) and may
# use $BIN (the build's bin folder) and $FILE (the generated log).  Their
# standard output is discarded.

set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$ROOT/build/bench"
BIN="$BUILD_DIR/bin"
SIZE=${SIZE:-1G}
RUNS=${RUNS:-5}
BENCH_DIR=${BENCH_DIR:-/tmp/suite-bench}
SKIP_SETUP=${SKIP_SETUP:-0}
LOG=         # the generated log
SPARSE=      # the sparse file of the last rows
SPARSE_RUNS=
FILE=
ROWS=()  # table rows, filled by compare
RESIDENT_LOG=  # one line per timed command: the share of its file in the page cache when it started, in %

die() {
  echo "run.sh: $*" >&2
  exit 1
}

note() {
  echo "== $*" >&2
}

# --- set-up ----------------------------------------------------------------

# Debian package and a program it provides.
PACKAGES=(
  "cmake cmake"
  "g++ g++"
  "make make"
  "time /usr/bin/time"
  "coreutils wc"
  "ripgrep rg"
  "grep grep"
  "util-linux fincore"
)

install_missing() {
  local missing=() entry pkg prog
  for entry in "${PACKAGES[@]}"; do
    read -r pkg prog <<<"$entry"
    command -v "$prog" >/dev/null 2>&1 || missing+=("$pkg")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  command -v apt-get >/dev/null 2>&1 ||
    die "missing ${missing[*]} and no apt-get here: install them by hand"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null 2>&1 || die "missing ${missing[*]}: run as root to install them"
    sudo=(sudo)
  fi
  note "installing ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

build() {
  note "building Release in $BUILD_DIR"
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >&2 ||
    die "cmake configure failed"
  cmake --build "$BUILD_DIR" -j2 >&2 || die "build failed"
  [[ -x "$BIN/log-generator" ]] || die "log-generator missing after the build: $BIN/log-generator"
  [[ -x "$BIN/bench-measure" ]] || die "bench-measure missing after the build: $BIN/bench-measure"
  [[ -x "$BIN/bench-update-floor" ]] || die "bench-update-floor missing after the build: $BIN/bench-update-floor"
  [[ -x "$BIN/Lorvane" ]] || die "Lorvane missing after the build: $BIN/Lorvane"
  [[ -x "$BIN/lorvane-cli" ]] ||
    die "lorvane-cli missing after the build: $BIN/lorvane-cli (is its target in the build yet?)"
}

# Prints SIZE in bytes.
size_bytes() {
  local s=$1
  [[ $s =~ ^([0-9]+)([KkMmGg]?)(i?B)?$ ]] || die "bad SIZE '$s' (bytes, or a K, M or G suffix)"
  local n=${BASH_REMATCH[1]} shift=0
  case ${BASH_REMATCH[2]} in
    [Kk]) shift=10 ;;
    [Mm]) shift=20 ;;
    [Gg]) shift=30 ;;
  esac
  echo $((10#$n << shift))
}

generate() {
  local bytes tag
  bytes=$(size_bytes "$SIZE")
  [[ $bytes -ge 128 ]] || die "SIZE must be at least 128 bytes"
  tag=$(tr '[:upper:]' '[:lower:]' <<<"${SIZE%%[iB]*}")
  FILE="$BENCH_DIR/bench-v2-$tag-crlf.log"  # v2: with the rare keyword
  mkdir -p "$BENCH_DIR"
  if [[ -f $FILE && $(stat -c %s "$FILE") -eq $bytes ]]; then
    note "reusing $FILE"
  else
    note "generating $FILE ($bytes bytes)"
    "$BIN/log-generator" --crlf "$bytes" "$FILE.tmp"
    mv -f "$FILE.tmp" "$FILE"
  fi
}

# The page cache doesn't keep the log (these machines reclaim cold pages on
# their own): it is read again right before every timed command, untimed, and
# the share of it resident then is noted for the table. It is first dropped
# from the cache, so that it is always read back whole, in one pass: a log
# whose reclaimed parts were read back one by one sits in small page-cache
# folios, which the kernel can't map in 2 MiB steps, and every scan of a
# mapping (ours, rg's) then takes up to twice as long (lorvane-cli index:
# 0.27 s against 0.06 s after reading the log whole), while read()-based
# tools don't care. Both sides of a comparison start from the same cache.
#
# With REWRITE_FROM set, the file is instead written anew from that log 4 KiB
# at a time, as an application writes its log, and synced: the rows of such
# a log time the small folios that every log written a line at a time sits in
# while it is fresh.
REWRITE_FROM=
warm() {
  if [[ -n $REWRITE_FROM ]]; then
    rm -f "$FILE"
    dd if="$REWRITE_FROM" of="$FILE" bs=4k status=none
    sync
  else
    dd if="$FILE" iflag=nocache count=0 status=none
    cat "$FILE" >/dev/null
  fi
  local resident size share
  read -r resident size < <(fincore -b -n -o RES,SIZE "$FILE")
  share=$(( size > 0 ? resident * 100 / size : 100 ))
  echo "$share" >>"$RESIDENT_LOG"
}

# --- measuring ---------------------------------------------------------------

# Our programs name each history and split directory after the second it is
# made in, and wait for the next second when that name is taken: a command
# started in the second the last one ended in could time that wait (up to a
# second; it made a row of two searches 0.42 s against 0.74 s). So each timed
# command starts in a later second than the last one ended in; the wait is
# untimed. (EPOCHREALTIME's decimal mark follows the locale.)
LAST_END_FILE=
start_in_a_new_second() {
  local now last
  now=${EPOCHREALTIME/,/.}
  last=$(cat "$LAST_END_FILE" 2>/dev/null || echo 0)
  if (( ${now%.*} <= ${last%.*} )); then
    sleep "$(awk -v t="$now" -v l="${last%.*}" 'BEGIN { printf "%.3f", l + 1.02 - t }')"
  fi
}
note_the_end() { echo "${EPOCHREALTIME/,/.}" >"$LAST_END_FILE"; }

# Median of the numbers given as arguments.
median() {
  printf '%s\n' "$@" | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "nan"; exit }
      if (NR % 2) print v[(NR + 1) / 2]
      else print (v[NR / 2] + v[NR / 2 + 1]) / 2
    }'
}

# Runs the command in the array named by $2 once, its standard output into
# the file $1; prints "SECONDS PEAK_KB CPU_SECONDS": bench-measure's wall time,
# peak memory and user + system CPU of the command alone (wait4's rusage, to
# the microsecond). An exit status above $3 fails the run.
measured_run() {
  local sink=$1 highest_ok=$3 out rc=0
  local -n argv_ref=$2
  out=$(mktemp)
  warm
  start_in_a_new_second
  "$BIN/bench-measure" "$out" "${argv_ref[@]}" >"$sink" 2>"$out.err" || rc=$?
  note_the_end
  if [[ $rc -gt $highest_ok ]]; then
    echo "run.sh: command failed with status $rc: ${argv_ref[*]}" >&2
    tail -n 5 "$out.err" >&2
    rm -f "$out" "$out.err"
    exit 1
  fi
  cat "$out"
  rm -f "$out" "$out.err"
}

measure() {
  measured_run /dev/null "$1" 0
}

# Shortens a command for display.
shown() {
  local s=$1
  s=${s//"$BIN/"/}
  s=${s//"$FILE"/FILE}
  echo "$s"
}

ROW_FORMAT='%-16s %-44s %10s %9s %13s\n'

# Adds a row of the table: comparison, command, seconds, MB, ratio.
add_row() {
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$@")")
}

print_table() {
  local lines row least
  lines=$(wc -l <"$LOG")
  least=$(sort -n "$RESIDENT_LOG" | head -n 1)
  echo
  echo "file: $LOG ($(stat -c %s "$LOG") bytes, $lines lines), $RUNS runs per command"
  echo "page cache: the file is dropped from the cache and read whole right before every timed command (untimed); at the start of a command at least ${least:-?} % of it was resident (fincore); outputs are new files"
  echo "4 KiB writes rows: the log written anew 4 KiB at a time and synced right before every timed command (untimed), as an application writes it; the search row is the whole search against rg"
  [[ -n $SPARSE ]] && echo "sparse rows: ${SPARSE_SIZE:-3G} of holes without one LF ($SPARSE), $SPARSE_RUNS runs per command"
  echo "search rows: A is lorvane-cli search less lorvane-cli index in the same round; A/B is against rg / against grep"
  echo "window rows: A/B is the whole window run / the window run less its start-up S, against lorvane-cli"
  echo "host: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2- | sed 's/^ *//'), $(uname -sr)"
  echo
  # shellcheck disable=SC2059
  printf "$ROW_FORMAT" "comparison" "command" "median s" "peak MB" "A/B"
  for row in "${ROWS[@]}"; do echo "$row"; done
}

# compare NAME CMD_A CMD_B: times both commands alternately and adds their rows
# to the table.
compare() {
  local name=$1 cmd_a=$2 cmd_b=$3
  local -a a b times_a=() times_b=() mem_a=() mem_b=() ratios=()
  eval "a=($cmd_a)"
  eval "b=($cmd_b)"
  local i res ta ma tb mb
  for ((i = 1; i <= RUNS; i++)); do
    res=$(measure a)
    read -r ta ma _ <<<"$res"
    res=$(measure b)
    read -r tb mb _ <<<"$res"
    echo "   $name run $i/$RUNS: A ${ta}s ${ma}KB, B ${tb}s ${mb}KB" >&2
    times_a+=("$ta") mem_a+=("$ma") times_b+=("$tb") mem_b+=("$mb")
    ratios+=("$(awk -v x="$ta" -v y="$tb" 'BEGIN { if (y > 0) printf "%.4f", x / y; else print "inf" }')")
  done
  local ratio
  ratio=$(awk -v r="$(median "${ratios[@]}")" 'BEGIN { if (r == "inf") print r; else printf "%.2f", r }')
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$name" "A: $(shown "${a[*]}")" "$(seconds "${times_a[@]}")" \
    "$(megabytes "${mem_a[@]}")" "$ratio")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "B: $(shown "${b[*]}")" "$(seconds "${times_b[@]}")" \
    "$(megabytes "${mem_b[@]}")" "")")
}

# Removes earlier runs' history directories and writes back what they left
# dirty, untimed: gigabytes of results kept, or still being written back, would
# slow every later run of every command.
park_histories() {
  local work="$BIN/__Lorvane__"
  [[ -d $work ]] && find "$work" -mindepth 1 -maxdepth 1 -name '2*' -type d -exec rm -rf {} +
  sync
}

cleanup_histories() { park_histories; }

# compare_search NAME KEYWORD MATCH_CASE: the search time of lorvane-cli (its
# `search` less its `index` on the same file, measured in the same round)
# against rg -n -F and grep -n -F (LC_ALL=C) writing their output to a file.
compare_search() {
  local name=$1 keyword=$2 match=$3
  local -a index=("$BIN/lorvane-cli" index "$FILE") search=("$BIN/lorvane-cli" search "$keyword" "$match" "$FILE")
  local -a rg=(rg -n -F) grep=(env LC_ALL=C grep -n -F)
  if [[ $match == 0 ]]; then rg+=(-i); grep+=(-i); fi
  rg+=(-e "$keyword" "$FILE" --no-config) grep+=(-e "$keyword" "$FILE")
  local -a t_index=() t_search=() m_search=() t_rg=() m_rg=() t_grep=() m_grep=() r_rg=() r_grep=()
  local i res t m ti ts tr tg
  for ((i = 1; i <= RUNS; i++)); do
    park_histories
    res=$(measure index); read -r ti m _ <<<"$res"
    park_histories
    res=$(measure search); read -r ts m _ <<<"$res"; m_search+=("$m")
    res=$(measure_to_file rg); read -r tr m _ <<<"$res"; m_rg+=("$m")
    res=$(measure_to_file grep); read -r tg m _ <<<"$res"; m_grep+=("$m")
    t=$(awk -v a="$ts" -v b="$ti" 'BEGIN { printf "%.4f", a - b }')
    t_index+=("$ti") t_search+=("$t") t_rg+=("$tr") t_grep+=("$tg")
    r_rg+=("$(awk -v x="$t" -v y="$tr" 'BEGIN { printf "%.4f", x / y }')")
    r_grep+=("$(awk -v x="$t" -v y="$tg" 'BEGIN { printf "%.4f", x / y }')")
    echo "   $name run $i/$RUNS: search-index ${t}s (index ${ti}s), rg ${tr}s, grep ${tg}s" >&2
  done
  local ratio_rg ratio_grep
  ratio_rg=$(awk -v r="$(median "${r_rg[@]}")" 'BEGIN { printf "%.2f", r }')
  ratio_grep=$(awk -v r="$(median "${r_grep[@]}")" 'BEGIN { printf "%.2f", r }')
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$name" "A: lorvane-cli search (less index)" "$(seconds "${t_search[@]}")" \
    "$(megabytes "${m_search[@]}")" "$ratio_rg / $ratio_grep")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "B: ${rg[*]:0:${#rg[@]}-2} > out" "$(seconds "${t_rg[@]}")" "$(megabytes "${m_rg[@]}")" "")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "C: ${grep[*]:1:${#grep[@]}-2} > out" "$(seconds "${t_grep[@]}")" "$(megabytes "${m_grep[@]}")" "")")
}

# compare_window NAME KEYWORD MATCH_CASE: the searcher's window started with
# the three-argument command line (pre-read and search, under the offscreen
# display, until its descriptor is written; bench/window_search.sh) against
# lorvane-cli search doing the same work. The window's start-up (Qt, fonts,
# the controls) is timed too, as the same command on an empty file in the
# same round: the second ratio is the window's search less its start-up.
# Histories are parked before each command.
compare_window() {
  local name=$1 keyword=$2 match=$3 empty="$BENCH_DIR/empty.log"
  : >"$empty"
  local -a window=(bash "$ROOT/bench/window_search.sh" "$BIN/Lorvane" "$keyword" "$match" "$FILE")
  local -a startup=(bash "$ROOT/bench/window_search.sh" "$BIN/Lorvane" "$keyword" "$match" "$empty")
  local -a console=("$BIN/lorvane-cli" search "$keyword" "$match" "$FILE")
  local -a t_window=() m_window=() t_start=() t_console=() m_console=() ratios=() searches=()
  local i res t m ts tc mc
  for ((i = 1; i <= RUNS; i++)); do
    park_histories
    res=$(measure startup); read -r ts m _ <<<"$res"
    park_histories
    res=$(measure window); read -r t m _ <<<"$res"
    park_histories
    res=$(measure console); read -r tc mc _ <<<"$res"
    t_window+=("$t") m_window+=("$m") t_start+=("$ts") t_console+=("$tc") m_console+=("$mc")
    ratios+=("$(awk -v x="$t" -v y="$tc" 'BEGIN { printf "%.4f", x / y }')")
    searches+=("$(awk -v x="$t" -v s="$ts" -v y="$tc" 'BEGIN { printf "%.4f", (x - s) / y }')")
    echo "   $name run $i/$RUNS: window ${t}s ${m}KB (start-up ${ts}s), lorvane-cli ${tc}s ${mc}KB" >&2
  done
  local ratio search
  ratio=$(awk -v r="$(median "${ratios[@]}")" 'BEGIN { printf "%.2f", r }')
  search=$(awk -v r="$(median "${searches[@]}")" 'BEGIN { printf "%.2f", r }')
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$name" "A: Lorvane $keyword $match FILE (offscreen)" "$(seconds "${t_window[@]}")" \
    "$(megabytes "${m_window[@]}")" "$ratio / $search")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "S: the same on an empty file (start-up)" "$(seconds "${t_start[@]}")" "" "")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "B: lorvane-cli search $keyword $match FILE" "$(seconds "${t_console[@]}")" \
    "$(megabytes "${m_console[@]}")" "")")
  rm -f "$empty"
}

# compare_page: the virtual page of a line near the end of the log, through a
# descriptor's quick index, against sed printing that line.
compare_page() {
  local history lines line
  history=$("$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE" | tail -n 1)
  [[ -f $history/result.lvn ]] || die "no descriptor from the search: $history"
  lines=$(wc -l <"$FILE")
  line=$((lines - 10))
  compare "page near end" "\"\$BIN/lorvane-cli\" page \"$history/result.lvn\" $line" "sed -n '${line}{p;q}' \"\$FILE\""
}

# compare_update: lorvane-cli update of a search after 1 MiB of the log's own
# lines was appended to it, against a fresh search of the grown log. Before
# each round (untimed) the log is cut back to its size, the history put back
# as its search left it, the lines appended and the disk synced; the log is
# cut back at the end. Two yardsticks are timed in each round: S, `true` (a
# process's spawn, start and end, which any command pays), and F,
# bench-update-floor (bench/update_floor.cpp: only the reads, hashes, search
# and synced writes any crash-safe update must do, on a copy of the history).
compare_update() {
  local name="update after 1 MiB" size chunk="$BENCH_DIR/append.txt" saved="$BENCH_DIR/history-before-update"
  local floor_history="$BENCH_DIR/history-for-the-floor" history
  size=$(stat -c %s "$FILE")
  awk -v max=1048576 '{ n += length($0) + 1; print; if (n >= max) exit }' "$FILE" >"$chunk"
  park_histories
  history=$("$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE" | tail -n 1)
  [[ -f $history/result.lvn ]] || die "no descriptor from the search: $history"
  rm -rf "$saved"
  cp -a "$history" "$saved"
  local -a update=("$BIN/lorvane-cli" update "$history/result.lvn") fresh=("$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE")
  local -a floor=("$BIN/bench-update-floor" "$floor_history" "$FILE" OutOfMemoryError) nothing=(true)
  # t_: wall seconds, m_: peak KB, c_: CPU seconds of each command, per round;
  # r_: the rounds' ratios against the fresh search
  local -a t_update=() m_update=() c_update=() t_fresh=() m_fresh=() c_fresh=() t_floor=() m_floor=() c_floor=()
  local -a t_nothing=() c_nothing=() r_wall=() r_net=() r_cpu=() r_net_cpu=() r_floor=() r_floor_net=() r_floor_net_cpu=()
  local i res tu mu cu tf mf cf tl ml cl t0 c0
  for ((i = 1; i <= RUNS; i++)); do
    truncate -s "$size" "$FILE"
    rm -rf "$history" "$floor_history"
    cp -a "$saved" "$history"
    cp -a "$saved" "$floor_history"
    cat "$chunk" >>"$FILE"
    sync
    res=$(measure update); read -r tu mu cu <<<"$res"
    res=$(measure floor); read -r tl ml cl <<<"$res"
    res=$(measure fresh); read -r tf mf cf <<<"$res"
    res=$(measure nothing); read -r t0 _ c0 <<<"$res"
    find "$BIN/__Lorvane__" -mindepth 1 -maxdepth 1 -name '2*' -type d ! -path "$history" -exec rm -rf {} +
    sync
    t_update+=("$tu") m_update+=("$mu") c_update+=("$cu") t_fresh+=("$tf") m_fresh+=("$mf") c_fresh+=("$cf")
    t_floor+=("$tl") m_floor+=("$ml") c_floor+=("$cl") t_nothing+=("$t0") c_nothing+=("$c0")
    r_wall+=("$(net_ratio "$tu" "$tf" 0)") r_net+=("$(net_ratio "$tu" "$tf" "$t0")")
    r_cpu+=("$(net_ratio "$cu" "$cf" 0)") r_net_cpu+=("$(net_ratio "$cu" "$cf" "$c0")")
    r_floor+=("$(net_ratio "$tl" "$tf" 0)") r_floor_net+=("$(net_ratio "$tl" "$tf" "$t0")")
    r_floor_net_cpu+=("$(net_ratio "$cl" "$cf" "$c0")")
    echo "   $name run $i/$RUNS: update ${tu}s ${mu}KB ${cu}s CPU, floor ${tl}s ${cl}s CPU," \
      "fresh search ${tf}s ${mf}KB ${cf}s CPU, true ${t0}s" >&2
  done
  truncate -s "$size" "$FILE"
  rm -rf "$saved" "$chunk" "$floor_history"
  park_histories
  add_row "$name" "A: lorvane-cli update result.lvn" "$(seconds "${t_update[@]}")" "$(megabytes "${m_update[@]}")" \
    "$(median_ratio "${r_wall[@]}")"
  add_row "" "B: lorvane-cli search OutOfMemoryError 1 FILE" "$(seconds "${t_fresh[@]}")" \
    "$(megabytes "${m_fresh[@]}")" ""
  add_row "" "S: true (a process's start and end)" "$(seconds "${t_nothing[@]}")" "" ""
  add_row "" "F: bench-update-floor (an update's least)" "$(seconds "${t_floor[@]}")" \
    "$(megabytes "${m_floor[@]}")" "$(median_ratio "${r_floor[@]}")"
  # The walls less that of `true` in the same round: what each adds to the
  # start of any program.
  add_row "" "A, B less S" "" "" "$(median_ratio "${r_net[@]}")"
  add_row "" "F, B less S" "" "" "$(median_ratio "${r_floor_net[@]}")"
  # The same runs' CPU (user + system): what the update costs the machine,
  # apart from waiting for the disk.
  add_row "" "A's CPU (user + system)" "$(seconds "${c_update[@]}")" "" "$(median_ratio "${r_cpu[@]}")"
  add_row "" "B's CPU (user + system)" "$(seconds "${c_fresh[@]}")" "" ""
  add_row "" "S's CPU; A's, B's CPU less S's" "$(seconds "${c_nothing[@]}")" "" "$(median_ratio "${r_net_cpu[@]}")"
  add_row "" "F's CPU; F's, B's CPU less S's" "$(seconds "${c_floor[@]}")" "" \
    "$(median_ratio "${r_floor_net_cpu[@]}")"
}

# (X - Z) / (Y - Z) to four places, 0 when X is below Z: a ratio of two
# commands' figures less those of a third.
net_ratio() {
  awk -v x="$1" -v y="$2" -v z="$3" 'BEGIN { x -= z; if (x < 0) x = 0; if (y > z) printf "%.4f", x / (y - z); else print "inf" }'
}

# Median of the ratios given, to three places, for the table.
median_ratio() {
  awk -v r="$(median "$@")" 'BEGIN { printf "%.3f", r }'
}

# compare_follow: the peak memory of lorvane-cli follow after 100 appended
# lines (10 batches) against after 100000 (1000 batches, a look each), every
# line a result (bench/follow_appends.sh). The ratio is of the peaks, B/A:
# memory stays flat when it is near 1. Two rounds: the long one takes a while.
compare_follow() {
  local name="follow, memory" dir="$BENCH_DIR/follow" rounds=$(( RUNS < 2 ? RUNS : 2 ))
  local -a p_few=() p_many=() t_few=() t_many=()
  local i peak secs
  mkdir -p "$dir"
  for ((i = 1; i <= rounds; i++)); do
    read -r peak secs < <(bash "$ROOT/bench/follow_appends.sh" "$BIN/lorvane-cli" "$dir" 10 10)
    p_few+=("$peak") t_few+=("$secs")
    read -r peak secs < <(bash "$ROOT/bench/follow_appends.sh" "$BIN/lorvane-cli" "$dir" 1000 100)
    p_many+=("$peak") t_many+=("$secs")
    echo "   $name run $i/$rounds: 100 appends ${p_few[-1]}KB, 100000 appends ${peak}KB (${secs}s)" >&2
    park_histories
  done
  rm -rf "$dir"
  local ratio
  ratio=$(awk -v a="$(median "${p_few[@]}")" -v b="$(median "${p_many[@]}")" 'BEGIN { printf "%.2f", b / a }')
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$name" "A: lorvane-cli follow, 100 lines appended" "$(seconds "${t_few[@]}")" \
    "$(megabytes "${p_few[@]}")" "B/A $ratio")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "B: the same, 100000 lines in 1000 looks" "$(seconds "${t_many[@]}")" \
    "$(megabytes "${p_many[@]}")" "")")
}

# compare_split: partivo-cli split (the splitter's split, as the window runs
# it) against split -l, both cutting the log into pieces of 1000000 lines
# written beside the program (the same file system). The pieces are the same
# bytes: the log has CR LF line ends, which split keeps and the splitter
# writes. Before each command the earlier pieces are removed and the disk is
# synced, untimed (remove_splits).
compare_split() {
  # The sparse file's one line ends without LF, which the splitter gives one
  # and split doesn't: its pieces aren't compared.
  local name=${1:-split 1M lines} check=${2:-check} lines=1000000 ours_out="$BIN/__Cleavora__" theirs_out="$BUILD_DIR/split-pieces"
  local -a ours=("$BIN/partivo-cli" split "$FILE" "$lines")
  local -a theirs=(split -l "$lines" -d -a 9 --additional-suffix=.txt "$FILE" "$theirs_out/")
  [[ -x $BIN/partivo-cli ]] || die "partivo-cli missing after the build: $BIN/partivo-cli"
  local -a t_ours=() m_ours=() t_theirs=() m_theirs=() ratios=()
  local i res t m tt mt
  for ((i = 1; i <= RUNS; i++)); do
    remove_splits
    res=$(measure ours); read -r t m _ <<<"$res"
    if [[ $i -eq 1 && $check == check ]]; then
      rm -rf "$theirs_out"
      mkdir -p "$theirs_out"
      split -l "$lines" -d -a 9 --additional-suffix=.txt "$FILE" "$theirs_out/"
      check_split_pieces "$ours_out" "$theirs_out"
    fi
    remove_splits
    mkdir -p "$theirs_out"
    res=$(measure theirs); read -r tt mt _ <<<"$res"
    t_ours+=("$t") m_ours+=("$m") t_theirs+=("$tt") m_theirs+=("$mt")
    ratios+=("$(awk -v x="$t" -v y="$tt" 'BEGIN { printf "%.4f", x / y }')")
    echo "   split run $i/$RUNS: partivo-cli ${t}s ${m}KB, split -l ${tt}s ${mt}KB" >&2
  done
  remove_splits
  local ratio
  ratio=$(awk -v r="$(median "${ratios[@]}")" 'BEGIN { printf "%.2f", r }')
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "$name" "A: partivo-cli split FILE $lines" "$(seconds "${t_ours[@]}")" \
    "$(megabytes "${m_ours[@]}")" "$ratio")")
  # shellcheck disable=SC2059
  ROWS+=("$(printf "$ROW_FORMAT" "" "B: split -l $lines -d -a 9 FILE" "$(seconds "${t_theirs[@]}")" \
    "$(megabytes "${m_theirs[@]}")" "")")
}

# remove_splits: deletes the pieces of earlier runs (the splitter's split
# directories and split's folder) and syncs, untimed. Unlike the history
# directories they are not parked: a few big files go at once, while parked
# gigabytes would make each later run write into memory this machine has not
# handed out yet, which tripled the kernel time by the fourth run. The sync
# keeps one command's writeback out of the next one's time.
remove_splits() {
  rm -rf "$BIN/__Cleavora__"/2* "$BUILD_DIR/split-pieces"
  sync
}

# check_split_pieces OURS_WORK THEIRS: the pieces of both hold the same lines,
# piece by piece (line ends aside); an empty last piece of ours (a log of
# whole millions of lines) has no counterpart.
check_split_pieces() {
  local ours ours_piece theirs name
  ours=$(find "$1" -mindepth 1 -maxdepth 1 -type d -name '2*' | sort | tail -n 1)
  [[ -n $ours ]] || die "partivo-cli left no split directory in $1"
  for ours_piece in "$ours"/*.txt; do
    name=${ours_piece##*/}
    theirs="$2/$name"
    if [[ ! -f $theirs ]]; then
      [[ -s $ours_piece ]] && die "split made no $name"
      continue
    fi
    cmp -s <(tr -d '\r' <"$ours_piece") <(tr -d '\r' <"$theirs") || die "pieces $name differ"
  done
  [[ $(find "$2" -name '*.txt' | wc -l) -le $(find "$ours" -name '*.txt' | wc -l) ]] ||
    die "split made more pieces than partivo-cli"
  note "split pieces checked: partivo-cli's and split's hold the same lines"
}

# Like measure, with the command's standard output going to a file, which is
# removed afterwards (untimed). grep and rg exit 1 when nothing matched.
measure_to_file() {
  local sink="$BENCH_DIR/out.txt"
  : >"$sink"
  measured_run "$sink" "$1" 1
  rm -f "$sink"
}

# Median of the seconds given, for the table.
seconds() {
  awk -v s="$(median "$@")" 'BEGIN { printf "%.3f", s }'
}

# Median of the KB given, in MB for the table.
megabytes() {
  awk -v k="$(median "$@")" 'BEGIN { printf "%.1f", k / 1024 }'
}

# --- main ----------------------------------------------------------------------

main() {
  [[ $RUNS =~ ^[1-9][0-9]*$ ]] || die "RUNS must be a positive integer, not '$RUNS'"
  size_bytes "$SIZE" >/dev/null
  cd "$ROOT"
  if [[ $SKIP_SETUP != 1 ]]; then install_missing; fi
  build
  generate

  RESIDENT_LOG="$BENCH_DIR/resident.txt"
  LAST_END_FILE="$BENCH_DIR/last-end"
  : >"$RESIDENT_LOG"
  LOG=$FILE

  # shellcheck disable=SC2016  # $BIN and $FILE are expanded by compare
  compare "index" '"$BIN/lorvane-cli" index "$FILE"' 'wc -l "$FILE"'
  # The pre-read's workers: one (no helper thread) against two.
  compare "index, 1 / 2 workers" 'env SUITE_THREADS=1 "$BIN/lorvane-cli" index "$FILE"' \
    'env SUITE_THREADS=2 "$BIN/lorvane-cli" index "$FILE"'
  compare_page
  # The search's workers (its pre-read's too): one against two.
  compare "rare search, 1 / 2 workers" \
    'env SUITE_THREADS=1 "$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE"' \
    'env SUITE_THREADS=2 "$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE"'
  cleanup_histories
  compare_search "rare, case" OutOfMemoryError 1
  compare_search "rare, no case" OutOfMemoryError 0
  compare_search "common, case" ms 1
  compare_search "common, no case" ms 0
  compare_window "window, rare" OutOfMemoryError 1
  compare_window "window, common" ms 0
  cleanup_histories
  compare_update
  compare_follow
  compare_split

  # The log as an application writes it, rewritten 4 KiB at a time before
  # each command (see warm).
  REWRITE_FROM=$LOG FILE="$BENCH_DIR/appended.log"
  # shellcheck disable=SC2016
  compare "index, 4 KiB writes" '"$BIN/lorvane-cli" index "$FILE"' 'wc -l "$FILE"'
  # shellcheck disable=SC2016
  compare "rare, 4 KiB writes" '"$BIN/lorvane-cli" search OutOfMemoryError 1 "$FILE"' \
    'rg -n -F -e OutOfMemoryError "$FILE"'
  cleanup_histories
  rm -f "$FILE"
  REWRITE_FROM='' FILE=$LOG

  # A file of one line of 3 GiB (a sparse or preallocated log): memory must
  # stay at a window. Fewer rounds: each split writes 3 GiB. Three, not two:
  # the first split often pays for the memory the earlier rows' pieces held
  # (3.7 s against 0.9 s), and the median of two is their mean.
  if [[ ${SPARSE_SIZE:-3G} != 0 ]]; then
    SPARSE="$BENCH_DIR/sparse-${SPARSE_SIZE:-3G}.log"
    rm -f "$SPARSE"
    truncate -s "${SPARSE_SIZE:-3G}" "$SPARSE"
    SPARSE_RUNS=$(( RUNS < 3 ? RUNS : 3 ))
    local saved=$RUNS
    FILE=$SPARSE RUNS=$SPARSE_RUNS
    # (rg finds nothing there and says so with its status 1)
    compare "sparse, search" '"$BIN/lorvane-cli" search needle 1 "$FILE"' \
      'sh -c "rg -n -F -e needle \"\$0\" --no-config; [ \$? -le 1 ]" "$FILE"'
    cleanup_histories
    compare_split "sparse, split" no-check
    FILE=$LOG RUNS=$saved
    rm -f "$SPARSE"
  fi

  print_table
}

main "$@"
