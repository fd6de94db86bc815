#!/usr/bin/env bash
# lorvane-cli as a user runs it: output, exit codes and bad input.
# Arguments: the program, and the version it should report.
set -u
unset SUITE_CODEPAGE  # each log in its own code page, as a user starts it; checks that force one say so
cli=$(realpath "$1")
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../../test_support/checks.sh"

# Status lines without their time prefix "[MM/DD hh:mm:ss] ".
strip() { sed -E 's/^\[[0-9]{2}\/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] //'; }

printf 'a\r\nbb\r\nccc\r\n' > "$work/three.log"
out=$("$cli" index "$work/three.log" | strip); rc=$?
check "three lines: exit" 0 "$rc"
check "three lines: output" "CLorvaneDlg::__initiate()
CLorvaneDlg::_thr_quick_analyze_object_file()
快速预读: 正在创建快速索引 _mp[0] = 0
目标文件的代码页 GBK(按文件内容判断)。
预读完毕。目标文件共 0 0003 行。
12B
共 0 0003 行
_mp[0]=0;" "$out"
check "status lines carry the time prefix" 5 "$("$cli" index "$work/three.log" | grep -cE '^\[[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] ')"
check "work directory beside the program" yes "$([ -d "$(dirname "$cli")/__Lorvane__/__Clipboard__" ] && echo yes)"

# 25000 LF lines: three entries at real offsets.
yes abcd | head -n 25000 > "$work/lf.log"
check "lf offsets" "_mp[0]=0;
_mp[1]=50000;
_mp[2]=100000;" "$("$cli" index "$work/lf.log" | grep '^_mp')"

: > "$work/empty.log"
check "empty file" "0B
共 0 0000 行" "$("$cli" index "$work/empty.log" | strip | tail -n 2)"

# A failure's message goes to stderr, alone; the status lines before it stay on stdout.
"$cli" index "$work/missing.log" >"$work/out" 2>"$work/err"
check "missing file: exit" 1 "$?"
check "missing file: message" "预读失败: 目标文件不存在!" "$(strip < "$work/err")"
check "missing file: the status lines before it" "CLorvaneDlg::__initiate()
CLorvaneDlg::_thr_quick_analyze_object_file()" "$(strip < "$work/out")"
check "missing folder: message" "预读失败: 目标文件不存在!" "$("$cli" index "$work/none/a.log" 2>&1 >/dev/null | strip)"
held_message="预读失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。"
check "directory: message" "$held_message" "$("$cli" index "$work" 2>&1 >/dev/null | strip)"
check "directory: exit" 1 "$("$cli" index "$work" >/dev/null 2>&1; echo $?)"
check "done: nothing on stderr" "" "$("$cli" index "$work/three.log" 2>&1 >/dev/null)"

# Another program holds the file: the open fails while it does. This shell
# holds the lock itself, so it is taken before the first try and kept until
# the last, however slow the machine.
exec 9<"$work/three.log"
flock -x 9
out=$("$cli" index "$work/three.log" 2>&1 >/dev/null | strip)
check "locked file: message" "$held_message" "$out"
check "locked file: exit" 1 "$("$cli" index "$work/three.log" >/dev/null 2>&1; echo $?)"
exec 9<&-
check "unlocked file: exit" 0 "$("$cli" index "$work/three.log" >/dev/null; echo $?)"

# Bad arguments: what is wrong, one usage line and the pointer to --help, on stderr.
for args in "" "index" "index a b" "search x" "index ''" "--bogus" "nothing" "page d x" "history now" "--help x"; do
  eval "set -- $args"
  "$cli" "$@" >"$work/out" 2>"$work/err"
  check "bad arguments [$args]: exit" 2 "$?"
  check "bad arguments [$args]: nothing on stdout" "" "$(cat "$work/out")"
  check "bad arguments [$args]: three lines" 3 "$(wc -l < "$work/err")"
  check "bad arguments [$args]: usage" 1 "$(grep -c '^usage: lorvane-cli' "$work/err")"
  check "bad arguments [$args]: pointer" "Try 'lorvane-cli --help' for more information." "$(tail -n 1 "$work/err")"
done
check "bad arguments: an option with more" "lorvane-cli: --version takes no arguments" \
  "$("$cli" --version x 2>&1 | head -n 1)"
check "bad arguments: the command's usage line" "usage: lorvane-cli page DESCRIPTOR LINE [HALF]" \
  "$("$cli" page d x 2>&1 | sed -n 2p)"
for option in --help -h; do
  "$cli" $option >"$work/out" 2>"$work/err"
  check "$option: exit" 0 "$?"
  check "$option: the whole help on stdout" 1 "$(grep -c '^  view DESCRIPTOR START COUNT' "$work/out")"
  check "$option: nothing on stderr" "" "$(cat "$work/err")"
done
check "--help: both work directories" 2 "$("$cli" --help | grep -cE '__Lorvane__ beside|XDG_STATE_HOME/lorvane')"
"$cli" --version >"$work/out" 2>"$work/err"
check "--version: exit" 0 "$?"
check "--version: one line" "lorvane-cli $version" "$(cat "$work/out")"

# Binary bytes are counted like any other.
head -c 300000 /dev/urandom | tr '\032' 'x' > "$work/binary.dat"
lines=$(( $(tr -dc '\n' < "$work/binary.dat" | wc -c) + $( [ "$(tail -c 1 "$work/binary.dat" | od -An -c | tr -d ' ')" != '\n' ] && echo 1 || echo 0) ))
count=$("$cli" index "$work/binary.dat" | strip | sed -n 's/^预读完毕。目标文件共 \([0-9]*\) \([0-9]*\) 行。$/\1\2/p' | sed 's/^0*//')
check "binary file: line count" "$lines" "${count:-0}"

# search: the same arguments as the window's command line.
printf 'one ERROR\r\ntwo\r\nthree error\r\n' > "$work/s.log"
out=$("$cli" search ERROR 0 "$work/s.log"); rc=$?
check "search: exit" 0 "$rc"
history=$(printf '%s\n' "$out" | tail -n 1)
check "search: messages" "AutoLoad: FilePath[$work/s.log]
AutoSearch: KeyWord[ERROR], MatchCase[No]
搜索完毕。目标文件共 0 0003 行，其中 2 行包含关键字，存于 1 个结果文件中。" "$(printf '%s\n' "$out" | strip | grep -E '^(AutoLoad|AutoSearch|搜索完毕)')"
check "search: result file" "$(printf '0000000001|0000000001| one ERROR\r\n0000000002|0000000003| three error\r\n')" "$(cat "$history/000000.txt")"
check "search: descriptor" "$(printf '%s\r\n%s\r\nERROR\r\nN\r\n29B\r\n3\r\n2\r\n_mp[0]=0;\r\n' "$history" "$work/s.log")" "$(cat "$history/result.lvn")"

# A file not found as given is looked for beside the program.
bindir=$(dirname "$cli")
cp "$work/s.log" "$bindir/cli-test-beside.log"
beside=$(cd "$work" && "$cli" search two 1 cli-test-beside.log | tail -n 1)
rm -f "$bindir/cli-test-beside.log"
check "search: beside the program" "$bindir/cli-test-beside.log" "$(sed -n 2p "$beside/result.lvn" | tr -d '\r')"
rm -rf "$beside"

for args in "ERROR yes $work/s.log" "'' 0 $work/s.log" "ERROR 0 $work/none.log" "ERROR 0"; do
  eval "set -- $args"
  "$cli" search "$@" >/dev/null 2>"$work/err"
  check "search bad arguments [$args]: exit" 2 "$?"
done
LC_ALL=C.UTF-8 SUITE_CODEPAGE=gbk "$cli" search '😀' 0 "$work/s.log" >/dev/null 2>"$work/err"
check "search: a keyword the code page can't hold: exit" 2 "$?"
check "search: a keyword the code page can't hold: message" 1 "$(grep -c "can't hold" "$work/err")"
typed=$("$cli" search 'C:\x64' 0 "$work/s.log" 2>&1 | tail -n 1)
check "search: a keyword with a backslash and x is taken as typed" 'C:\x64' "$(sed -n 3p "$typed/result.lvn" | tr -d '\r')"
rm -rf "$typed"

# update: the search goes on over what was appended, and prints the new results.
grow="$work/grow.log"
printf 'one ERROR\r\ntwo\r\nthree ERROR, not done' > "$grow"
grown=$("$cli" search ERROR 1 "$grow" | tail -n 1)
printf ' yet\r\nfour ERROR\r\n' >> "$grow"
out=$("$cli" update "$grown/result.lvn"); rc=$?
check "update: exit" 0 "$rc"
check "update: the new results, the completed line's again" "$(printf '0000000002|0000000003| three ERROR, not done yet\n0000000003|0000000004| four ERROR')" \
  "$(printf '%s\n' "$out" | grep '^00')"
check "update: what it says" "继续搜索完毕。目标文件共 0 0004 行，新增 18 字节；其中 3 行包含关键字，存于 1 个结果文件中。" \
  "$(printf '%s\n' "$out" | strip | grep '^继续搜索完毕')"
fresh=$("$cli" search ERROR 1 "$grow" | tail -n 1)
check "update: the history a fresh search writes" "$(tail -n +2 "$fresh/result.lvn"; cat "$fresh/000000.txt")" \
  "$(tail -n +2 "$grown/result.lvn"; cat "$grown/000000.txt")"
check "update: nothing appended" "继续搜索完毕。目标文件在搜索后没有新增内容。" "$("$cli" update "$grown/result.lvn" | strip | tail -n 1)"
mv "$grow" "$grow.1"
printf 'a new ERROR log\r\n' > "$grow"
"$cli" update "$grown/result.lvn" >/dev/null 2>"$work/err"
check "update: a rotated log: exit" 1 "$?"
check "update: a rotated log: message" "继续搜索失败: 目标文件已被另一个文件替换，请重新搜索!" "$(strip < "$work/err")"
check "update: a missing descriptor" 1 "$("$cli" update "$work/none.lvn" >/dev/null 2>&1; echo $?)"
check "update: bad arguments" 2 "$("$cli" update >/dev/null 2>&1; echo $?)"
rm -rf "$grown" "$fresh"

# follow: each new result printed once, through a rotation and a copytruncate;
# SIGTERM ends it with a history that restores. Each step waits for the output
# it causes (up to a minute: a hang guard, never a measure of speed).
await() {  # await PATTERN FILE
  local i
  for ((i = 0; i < 600; i++)); do grep -q -- "$1" "$2" && return 0; sleep 0.1; done
  return 1
}
for mode in inotify poll; do
  live="$work/live-$mode.log"
  printf 'old ERROR\r\n' > "$live"
  watch_env=()
  [[ $mode == poll ]] && watch_env=(SUITE_WATCH=poll)
  env "${watch_env[@]}" "$cli" follow ERROR 1 "$live" > "$work/follow.out" 2> "$work/follow.err" &
  follower=$!
  check "follow $mode: it follows" 0 "$(await '跟踪目标文件的新增内容' "$work/follow.out"; echo $?)"
  printf 'one ERROR\r\nplain\r\ntwo ERR' >> "$live"
  check "follow $mode: a new result" 0 "$(await '| one ERROR' "$work/follow.out"; echo $?)"
  printf 'OR, whole now\r\n' >> "$live"
  check "follow $mode: a line once whole" 0 "$(await '| two ERROR, whole now' "$work/follow.out"; echo $?)"
  mv "$live" "$live.1"
  printf 'three ERROR, the old file last\r\n' >> "$live.1"
  printf 'four ERROR, a new file\r\n' > "$live"
  check "follow $mode: rotated" 0 "$(await '替换(轮转)' "$work/follow.out"; echo $?)"
  check "follow $mode: the new file's result" 0 "$(await '| four ERROR' "$work/follow.out"; echo $?)"
  : > "$live"
  printf 'five ERROR, after a cut\r\n' >> "$live"
  check "follow $mode: cut" 0 "$(await '| five ERROR' "$work/follow.out"; echo $?)"
  kill -TERM "$follower"
  wait "$follower"
  check "follow $mode: SIGTERM's status" 143 "$?"
  check "follow $mode: every result once, in order" "$(printf '%s\n' '0000000002|0000000002| one ERROR' \
    '0000000003|0000000004| two ERROR, whole now' '0000000004|0000000005| three ERROR, the old file last' \
    '0000000001|0000000001| four ERROR, a new file' '0000000001|0000000001| five ERROR, after a cut')" \
    "$(grep '^00' "$work/follow.out")"
  check "follow $mode: nothing on stderr" "" "$(cat "$work/follow.err")"
  last=$(strip < "$work/follow.out" | sed -n 's/^停止跟踪。搜索历史: //p')
  check "follow $mode: its history restores" 0 "$("$cli" restore "$last/result.lvn" >/dev/null 2>&1; echo $?)"
  rm -f "$live" "$live.1"
done

# restore: the fields and lists the descriptor gives back.
out=$("$cli" restore "$history/result.lvn"); rc=$?
check "restore: exit" 0 "$rc"
check "restore: fields" "toResultLoad: 成功载入一个 result.lvn 搜索历史文件。
文件路径: $work/s.log
关键字: ERROR
匹配大小写: N
大小: 29B
共 3 行
读入 3 行
结果: 共 2 行
结果文件列表:
000000.txt" "$(printf '%s\n' "$out" | strip | sed -n '/^toResultLoad/,/^000000.txt/p')"
# A result file cut after the search (as a power loss can leave it): the restore says so and goes on.
cp "$history/000000.txt" "$work/000000.saved"
truncate -s 30 "$history/000000.txt"
check "restore: a cut result file" "toResultLoad: 恢复历史情境警告。继续恢复。原因[1 个搜索结果文件不完整: 000000.txt]
toResultLoad: 成功载入一个 result.lvn 搜索历史文件。" "$("$cli" restore "$history/result.lvn" | strip | grep '^toResultLoad')"
mv "$work/000000.saved" "$history/000000.txt"
check "restore: missing descriptor" 1 "$("$cli" restore "$work/none.lvn" >/dev/null 2>&1; echo $?)"
# Descriptors are read without the lock: one that another program holds restores.
exec 8<"$history/result.lvn"
flock -x 8
check "restore: a descriptor held elsewhere" 0 "$("$cli" restore "$history/result.lvn" >/dev/null; echo $?)"
exec 8<&-
rm -rf "$history"
# A search's directory is the one its descriptor lies in, whatever field 1 says.
printf '%s\r\n%s\r\nk\r\nN\r\n29B\r\n3\r\n0\r\n_mp[0]=0;\r\n' "$history" "$work/s.log" > "$work/result.lvn"
check "restore: a descriptor whose directory moved" "toResultLoad: 搜索结果目录[$history]不是描述文件所在的目录，使用目录[$work]
toResultLoad: 成功载入一个 result.lvn 搜索历史文件。" "$("$cli" restore "$work/result.lvn" | strip | grep '^toResultLoad')"

# A relative path is stored full, so the restore finds the file from anywhere.
history=$(cd "$work" && "$cli" search ERROR 0 s.log | tail -n 1)
check "search: a relative path is stored full" "$work/s.log" "$(sed -n 2p "$history/result.lvn" | tr -d '\r')"
check "search: restored from another directory" "文件路径: $work/s.log" \
  "$(cd / && "$cli" restore "$history/result.lvn" | grep '^文件路径')"
rm -rf "$history"

# A search whose descriptor can't be written fails (no results: the descriptor
# is the only file, and a size limit of 0 stops it).
before=$(ls "$bindir/__Lorvane__")
# (the limit is the subshell's; its output goes out through a pipe, which it doesn't bound)
(trap '' XFSZ; ulimit -f 0; exec "$cli" search nowhere 0 "$work/s.log" 2>&1) | strip > "$work/out"
check "search: descriptor not written: exit" 1 "${PIPESTATUS[0]}"
check "search: descriptor not written: message" 1 "$(grep -c '^toResultWrite: ' "$work/out")"
for entry in $(ls "$bindir/__Lorvane__"); do
  printf '%s\n' "$before" | grep -qxF "$entry" || rm -rf "$bindir/__Lorvane__/$entry"
done

# page and view: viewing through a descriptor, never pre-reading.
yes 'plain' | head -n 24999 | awk '{ if (NR % 5000 == 0) print "has KEY " NR; else print "line " NR }' > "$work/v.log"
history=$("$cli" search KEY 1 "$work/v.log" | tail -n 1)
check "page: lines" "  line 14999
* has KEY 15000
  line 15001" "$("$cli" page "$history/result.lvn" 15000 1 | grep -v '^\[')"
check "page: through entry 1" 1 "$("$cli" page "$history/result.lvn" 15000 1 | strip | grep -c '^找到快速索引 _mp\[1\]')"
check "page: default half page" 11 "$("$cli" page "$history/result.lvn" 20000 | grep -vc '^\[')"
check "page: keyword lines" "+ has KEY 5000" "$("$cli" page "$history/result.lvn" 5001 1 | grep '^+')"
# On a terminal (script(1) gives one): the page's lines in colour and a
# progress bar redrawn on stderr, unless NO_COLOR or TERM=dumb says otherwise.
on_terminal() { script -qec "$(printf '%q ' "$@")" /dev/null </dev/null; }
escapes() { grep -c $'\e\\[' || true; }
page=("$cli" page "$history/result.lvn" 15000 1)
before=$(ls "$bindir/__Lorvane__")
check "terminal: the centre line in colour" 1 \
  "$(on_terminal env TERM=xterm NO_COLOR= "${page[@]}" | grep -c $'^\e\\[34m\\* has KEY 15000')"
check "terminal: NO_COLOR" 0 "$(on_terminal env TERM=xterm NO_COLOR=1 "${page[@]}" | escapes)"
check "terminal: TERM=dumb" 0 "$(on_terminal env TERM=dumb NO_COLOR= "${page[@]}" | escapes)"
check "terminal: the marks stay without colour" "* has KEY 15000" \
  "$(on_terminal env TERM=dumb "${page[@]}" | tr -d '\r' | grep '^\*')"
search=("$cli" search KEY 1 "$work/v.log")
check "terminal: a progress bar" yes "$(on_terminal env TERM=xterm "${search[@]}" | grep -q $'\r\\[#*' && echo yes)"
check "terminal: no progress bar when TERM=dumb" no "$(on_terminal env TERM=dumb "${search[@]}" | grep -q $'\r\\[' && echo yes || echo no)"
check "not a terminal: no colour" 0 "$(env TERM=xterm NO_COLOR= "${page[@]}" 2>&1 | escapes)"
for entry in $(ls "$bindir/__Lorvane__"); do
  printf '%s\n%s\n' "$before" "$(basename "$history")" | grep -qxF "$entry" || rm -rf "$bindir/__Lorvane__/$entry"
done
check "page: bad line" 2 "$("$cli" page "$history/result.lvn" 0 >/dev/null 2>&1; echo $?)"
check "page: pre-reads nothing" 0 "$("$cli" page "$history/result.lvn" 3 | grep -c '_thr_quick_analyze')"
# A page whose first line ends a block of 10000 lines keeps it.
check "page: centre at a block end" "* has KEY 10000" "$("$cli" page "$history/result.lvn" 10000 0 | grep -v '^\[')"
check "page: first line at a block end" "+ has KEY 10000|  line 10005|11" \
  "$("$cli" page "$history/result.lvn" 10005 5 | grep -v '^\[' | sed -n '1p;$=;6p' | paste -sd '|')"
check "page: at most 1000 lines each side" 2001 "$("$cli" page "$history/result.lvn" 12000 3000000 | grep -vc '^\[')"
# A descriptor whose field 1 names another directory writes its views where it lies.
crafted="$history/crafted"
mkdir "$crafted"
sed '1s|.*|/\r|' "$history/result.lvn" > "$crafted/result.lvn"
before=$(ls / | grep -c '^_virtual_page_')
view=$("$cli" view "$crafted/result.lvn" 1 2 | tail -n 1)
check "view: a crafted descriptor writes nothing outside the work directory" "$bindir/__Lorvane__/" \
  "$(dirname "$(dirname "$view")")/"
check "view: nothing written at /" "$before" "$(ls / | grep -c '^_virtual_page_')"
rm -rf "$crafted" "$(dirname "$view")"
view=$("$cli" view "$history/result.lvn" 24998 5 | tail -n 1)
check "view: file" "$(printf 'line 24998\r\nline 24999\r\n')" "$(cat "$view")"
check "view: beyond the end" "查看内容: 失败! 因为启始行范围是从 1 到 24999。" \
  "$("$cli" view "$history/result.lvn" 30000 5 2>&1 >/dev/null | strip)"
check "view: beyond the end exit" 1 "$("$cli" view "$history/result.lvn" 30000 5 >/dev/null 2>&1; echo $?)"
rm -rf "$history"

# history: the browser's rows, oldest first, with the descriptor to restore.
history=$("$cli" search ERROR 0 "$work/s.log" | tail -n 1)
name=$(basename "$history")
time="${name:0:4}-${name:4:2}-${name:6:2} ${name:9:2}:${name:11:2}:${name:13:2}"
bare="$bindir/__Lorvane__/19990101_000000"
mkdir -p "$bare"
listing=$("$cli" history)
check "history: exit" 0 "$?"
check "history: titles" "$(printf '搜索时间\t结果行数\t总行数\t关键字\t匹配\t文件大小\t目标文件名\t存在性\t描述文件')" \
  "$(printf '%s\n' "$listing" | head -n 1)"
row=$(printf '%s\n' "$listing" | grep -F "$history/")
check "history: a search's row" "$(printf '%s\t2\t3\tERROR\t\t29B\ts.log\t\t%s' "$time" "$history/result.lvn")" "$row"
check "history: a directory without descriptor" "$(printf '1999-01-01 00:00:00\t\t\t\t\t\t\t\t')" \
  "$(printf '%s\n' "$listing" | grep '^1999-01-01 00:00:00')"
check "history: oldest first" yes "$([ "$(printf '%s\n' "$listing" | grep -n '^1999-01-01' | cut -d: -f1)" -lt \
  "$(printf '%s\n' "$listing" | grep -nF "$history/" | cut -d: -f1)" ] && echo yes)"
check "history: the listed descriptor restores" 0 "$("$cli" restore "$(printf '%s' "$row" | cut -f 9)" >/dev/null; echo $?)"
mv "$work/s.log" "$work/s.moved"
check "history: a target that is gone" "已不存在" "$("$cli" history | grep -F "$history/" | cut -f 8)"
mv "$work/s.moved" "$work/s.log"
rm -rf "$history" "$bare"
check "history: arguments" 2 "$("$cli" history now >/dev/null 2>&1; echo $?)"

# A folder whose name GBK can't spell: paths come out as the file system has them.
emo="$work/emo😀"
mkdir "$emo"
cp "$cli" "$emo/lorvane-cli"
cp "$work/s.log" "$emo/s.log"
history=$(SUITE_CODEPAGE=gbk "$emo/lorvane-cli" search ERROR 0 "$emo/s.log" | tail -n 1)
check "paths outside the code page: the history directory printed" yes "$([ -d "$history" ] && echo yes)"
check "paths outside the code page: its parent" "$emo/__Lorvane__" "$(dirname "$history")"
check "paths outside the code page: restore" "文件路径: $emo/s.log" \
  "$("$emo/lorvane-cli" restore "$history/result.lvn" | grep '^文件路径')"
check "paths outside the code page: history" "$history/result.lvn" "$("$emo/lorvane-cli" history | tail -n 1 | cut -f 9)"

# Each log in its own code page, without SUITE_CODEPAGE: the same Chinese lines
# in a GBK and a UTF-8 log give the same results for the same keyword, each
# result file byte for byte what a search under the log's own code page writes.
mixed="$work/mixed"
mkdir -p "$mixed"
cp "$cli" "$mixed/lorvane-cli"
printf '2026-12-08 INFO 用户 ann 登录\r\nplain line\r\n2026-12-08 WARN 用户 bob 退出\r\n' > "$mixed/u8.log"
iconv -f UTF-8 -t GBK "$mixed/u8.log" > "$mixed/gbk.log"
for log in u8:utf-8:UTF-8 gbk:gbk:GBK; do
  IFS=: read -r name forced shown <<<"$log"
  found=$(env -u SUITE_CODEPAGE LC_ALL=C.UTF-8 "$mixed/lorvane-cli" search 用户 0 "$mixed/$name.log" 2>&1)
  check "$name: the code page is found and named" 1 "$(printf '%s\n' "$found" | strip | grep -c "^目标文件的代码页 $shown(按文件内容判断)。$")"
  mine=$(printf '%s\n' "$found" | tail -n 1)
  theirs=$(SUITE_CODEPAGE=$forced LC_ALL=C.UTF-8 "$mixed/lorvane-cli" search 用户 0 "$mixed/$name.log" | tail -n 1)
  check "$name: two results" 2 "$(grep -c . "$mine/000000.txt")"
  check "$name: result file as under its own code page" "$(od -c "$theirs/000000.txt")" "$(od -c "$mine/000000.txt")"
  check "$name: the history keeps its code page" "$shown" "$(tr -d '\r\n' < "$mine/result.codepage")"
  # Restored without the setting, the lines show as Chinese on a UTF-8 terminal... and as bytes in a pipe.
  check "$name: the restore's keyword" "关键字: 用户" "$(env -u SUITE_CODEPAGE LC_ALL=C.UTF-8 "$mixed/lorvane-cli" restore "$mine/result.lvn" | grep '^关键字')"
  check "$name: the page's lines are the log's bytes" "$(sed -n 3p "$mixed/$name.log" | tr -d '\r' | od -c)" \
    "$(env -u SUITE_CODEPAGE "$mixed/lorvane-cli" page "$mine/result.lvn" 3 0 | tail -n 1 | sed 's/^\* //' | od -c)"
done
check "a keyword a GBK log can't hold is refused" 1 \
  "$(env -u SUITE_CODEPAGE LC_ALL=C.UTF-8 "$mixed/lorvane-cli" search '😀' 0 "$mixed/gbk.log" >/dev/null 2>&1; echo $?)"
SUITE_CODEPAGE=bogus "$mixed/lorvane-cli" index "$mixed/u8.log" >/dev/null 2>"$work/err"
check "an unknown SUITE_CODEPAGE is refused: exit" 2 "$?"
check "an unknown SUITE_CODEPAGE is refused: message" "lorvane-cli: SUITE_CODEPAGE=bogus is not a code page the suite takes: use gbk or utf-8, or leave it unset to read each file in its own" "$(cat "$work/err")"
rm -rf "$mixed"

checks_done
