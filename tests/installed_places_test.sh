#!/usr/bin/env bash
# The console programs installed in a folder their user can't write: their
# files go to the user's places, readable by the user alone, and nothing is
# written beside the programs. As root the programs run as "nobody" (root may
# write any folder); as anyone else their folder is made read-only.
# Usage: installed_places_test.sh LORVANE_CLI PARTIVO_CLI SAMPLE_LOG
set -u
lorvane_cli=$(realpath "$1")
partivo_cli=$(realpath "$2")
sample=$(realpath "$3")
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "$0")/test_support/checks.sh"

chmod 755 "$work"
mkdir -p "$work/bin" "$work/home" "$work/logs"
cp "$lorvane_cli" "$partivo_cli" "$work/bin/"
# A private log: 0600, its folder the user's.
cp "$sample" "$work/logs/app.log"
chmod 600 "$work/logs/app.log"
chmod 555 "$work/bin"

as_user=()
if [ "$(id -u)" = 0 ]; then
  if ! command -v setpriv >/dev/null; then echo "SKIP: setpriv (util-linux) is missing"; exit 0; fi
  chown -R nobody:nogroup "$work/home" "$work/logs"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() {  # run PROGRAM ARGS...: as the ordinary user, with a home of its own, from the logs folder
  (cd "$work/logs" && env -i PATH=/usr/bin:/bin HOME="$work/home" SUITE_CODEPAGE=gbk "${as_user[@]}" "$@")
}

out=$(run "$work/bin/lorvane-cli" search ERROR 0 "$work/logs/app.log" 2>&1); rc=$?
check "search: exit" 0 "$rc"
state="$work/home/.local/state/lorvane"
history=$(printf '%s\n' "$out" | tail -n 1)
check "search: its history lies in the state directory" "$state" "$(dirname "$history")"
check "search: the history has its descriptor" yes "$([ -f "$history/result.lvn" ] && echo yes)"
check "history: lists the search" 1 "$(run "$work/bin/lorvane-cli" history 2>&1 | grep -c "$history/result.lvn")"

out=$(run "$work/bin/partivo-cli" split "$work/logs/app.log" 10000 2>&1); rc=$?
check "split: exit" 0 "$rc"
pieces=$(printf '%s\n' "$out" | tail -n 1)
check "split: the pieces lie in the home's Partivo folder" "$work/home/Partivo" "$(dirname "$pieces")"
check "split: the success text says where" 1 "$(printf '%s\n' "$out" | grep -c "存放在“$pieces”中")"
check "split: a piece was written" yes "$([ -f "$pieces/000000000.txt" ] && echo yes)"

check "nothing beside the programs" "lorvane-cli partivo-cli" "$(cd "$work/bin" && echo *)"
check "nothing beside the log" "app.log" "$(cd "$work/logs" && echo *)"
# What holds lines of the log is the user's alone.
check "no file readable by others" "" "$(find "$state" "$work/home/Partivo" -type f ! -perm 600)"
check "no directory readable by others" "" "$(find "$state" "$work/home/Partivo" -mindepth 1 -type d ! -perm 700)"
check "the state base made for the user alone" 700 "$(stat -c %a "$work/home/.local/state")"

# A program whose own folder the kernel won't name (a path longer than
# PATH_MAX): it says so and uses the user's places, never the root folder.
(
  mkdir -p "$work/deep" && cd "$work/deep" || exit 1
  part=$(printf 'd%.0s' $(seq 200))
  for _ in $(seq 25); do mkdir "$part" && cd "$part" || exit 1; done
  cp "$lorvane_cli" "$partivo_cli" . || exit 1
  env -i PATH=/usr/bin:/bin HOME="$work/home" SUITE_CODEPAGE=gbk "${as_user[@]}" \
    ./lorvane-cli search ERROR 0 "$work/logs/app.log" >"$work/deep.out" 2>&1
  echo "search $?" >>"$work/deep.out"
  env -i PATH=/usr/bin:/bin HOME="$work/home" SUITE_CODEPAGE=gbk "${as_user[@]}" \
    ./partivo-cli split "$work/logs/app.log" 10000 >>"$work/deep.out" 2>&1
  echo "split $?" >>"$work/deep.out"
)
deep=$(cat "$work/deep.out")
check "unknown folder: search and split done" "search 0 split 0" "$(printf '%s\n' "$deep" | grep -E '^(search|split) ' | tr '\n' ' ' | sed 's/ $//')"
check "unknown folder: said so, twice" 2 "$(printf '%s\n' "$deep" | grep -c '找不到程序所在的目录')"
check "unknown folder: the history in the state directory" 1 "$(printf '%s\n' "$deep" | grep -c "^$state/2")"
check "unknown folder: the pieces in the home's Partivo folder" 1 "$(printf '%s\n' "$deep" | grep -c "^$work/home/Partivo/2")"
check "unknown folder: nothing in the root folder" "" "$(ls -d /__Lorvane__ /__Cleavora__ 2>/dev/null)"

checks_done
