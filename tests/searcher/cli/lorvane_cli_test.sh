#!/usr/bin/env bash
# lorvane-cli as a user runs it: output, exit codes and bad input.
set -u
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

# Status lines without their time prefix "[MM/DD hh:mm:ss] ".
strip() { sed -E 's/^\[[0-9]{2}\/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] //'; }

printf 'a\r\nbb\r\nccc\r\n' > "$work/three.log"
out=$("$cli" index "$work/three.log" | strip); rc=$?
check "three lines: exit" 0 "$rc"
check "three lines: output" "CLorvaneDlg::__initiate()
CLorvaneDlg::_thr_quick_analyze_object_file()
快速预读: 正在创建快速索引 _mp[0] = 0
预读完毕。目标文件共 0 0003 行。
12B
共 0 0003 行
_mp[0]=0;" "$out"
check "status lines carry the time prefix" 4 "$("$cli" index "$work/three.log" | grep -cE '^\[[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] ')"
check "work directory beside the program" yes "$([ -d "$(dirname "$cli")/__Lorvane__/__Clipboard__" ] && echo yes)"

# 25000 LF lines: three entries at real offsets.
yes abcd | head -n 25000 > "$work/lf.log"
check "lf offsets" "_mp[0]=0;
_mp[1]=50000;
_mp[2]=100000;" "$("$cli" index "$work/lf.log" | grep '^_mp')"

: > "$work/empty.log"
check "empty file" "0B
共 0 0000 行" "$("$cli" index "$work/empty.log" | strip | tail -n 2)"

fail_message="预读失败: 打开目标文件失败! 可能由于其它程序正在写/独享目标文件。"
out=$("$cli" index "$work/missing.log" | strip | tail -n 1); rc=$?
check "missing file: exit" 1 "$("$cli" index "$work/missing.log" >/dev/null; echo $?)"
check "missing file: message" "$fail_message" "$out"
check "directory: exit" 1 "$("$cli" index "$work" >/dev/null; echo $?)"

# Another program holds the file: the open fails while it does.
flock -x "$work/three.log" sleep 3 &
holder=$!
sleep 0.3
out=$("$cli" index "$work/three.log" | strip | tail -n 1)
check "locked file: message" "$fail_message" "$out"
check "locked file: exit" 1 "$("$cli" index "$work/three.log" >/dev/null; echo $?)"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null

for args in "" "index" "index a b" "search x" "index ''"; do
  eval "set -- $args"
  "$cli" "$@" >/dev/null 2>"$work/err"
  check "bad arguments [$args]: exit" 2 "$?"
  check "bad arguments [$args]: usage" 1 "$(grep -c '^usage: lorvane-cli' "$work/err")"
done
check "help" 0 "$("$cli" --help >/dev/null; echo $?)"

# Binary bytes are counted like any other.
head -c 300000 /dev/urandom | tr '\032' 'x' > "$work/binary.dat"
lines=$(( $(tr -dc '\n' < "$work/binary.dat" | wc -c) + $( [ "$(tail -c 1 "$work/binary.dat" | od -An -c | tr -d ' ')" != '\n' ] && echo 1 || echo 0) ))
count=$("$cli" index "$work/binary.dat" | strip | sed -n 's/^预读完毕。目标文件共 \([0-9]*\) \([0-9]*\) 行。$/\1\2/p' | sed 's/^0*//')
check "binary file: line count" "$lines" "${count:-0}"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
