#!/usr/bin/env bash
# Searches the same logs with the Linux lorvane-cli and, under Wine, with
# lorvane-cli.exe, and compares what they leave: every result file and the
# descriptor byte for byte (its first two lines, the history directory and
# the log's path, are each platform's own), and the code page file. Then
# starts the window, Lorvane.exe KEYWORD 0 LOG, on Wine's offscreen platform
# (when WINDOWS_BIN has it) and compares the history it leaves the same way.
#   scripts/compare-windows.sh LINUX_BIN WINDOWS_BIN
# The logs: GBK and UTF-8, CR LF and LF, made by log-generator (about 12 MiB
# each, so that results span several result files and the quick index has
# entries). Needs the Wine prefix and server that test-windows.sh sets up
# (WINEPREFIX); exits 1 on the first difference.
set -euo pipefail

linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
wine=/usr/lib/wine/wine64
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "compare-windows: $*" >&2; exit 1; }

# Searches LOG with BIN (a .exe under Wine, given the log as Z:LOG) and
# prints the history directory it made, as a Linux path.
search() {  # search BIN KEYWORD CASE LOG
  local out
  if [[ $1 == *.exe ]]; then
    out=$(LC_ALL=C.UTF-8 WINEDEBUG=-all "$wine" "$1" search "$2" "$3" "Z:$4" | tr -d '\r')
    unix_path "$(tail -n 1 <<<"$out")"
  else
    out=$("$1" search "$2" "$3" "$4")
    tail -n 1 <<<"$out"
  fi
}

# Z: is the root of the Linux file system in every Wine prefix, C: its drive_c.
unix_path() {
  case $1 in
    [Zz]:*) echo "${1:2}" ;;
    [Cc]:*) echo "${WINEPREFIX:-$HOME/.wine}/drive_c${1:2}" ;;
    *) echo "$1" ;;
  esac
}

"$linux/log-generator" --quiet --crlf 12M "$work/gbk-crlf.log"
"$linux/log-generator" --quiet --lf 12M "$work/gbk-lf.log"
iconv -f GB18030 -t UTF-8 "$work/gbk-crlf.log" >"$work/utf8-crlf.log"
iconv -f GB18030 -t UTF-8 "$work/gbk-lf.log" >"$work/utf8-lf.log"

# Compares two history directories; LABEL names the case in what it says.
compare_histories() {  # compare_histories LABEL A B
  local label=$1 a=$2 b=$3 names_a names_b name
  [[ -f $a/result.lvn ]] || fail "$label: no history from the Linux program ($a)"
  [[ -f $b/result.lvn ]] || fail "$label: no history from the Windows program ($b)"
  names_a=$(cd "$a" && ls | sort)
  names_b=$(cd "$b" && ls | sort)
  [[ $names_a == "$names_b" ]] || fail "$label: other files: $(tr '\n' ' ' <<<"$names_a") / $(tr '\n' ' ' <<<"$names_b")"
  for name in $names_a; do
    if [[ $name == result.lvn ]]; then
      cmp -s <(tail -n +3 "$a/$name") <(tail -n +3 "$b/$name") || fail "$label: $name differs after its paths"
    elif [[ $name == result.identity ]]; then  # its device and inode are each system's
      cmp -s <(grep -v '^device=\|^inode=' "$a/$name") <(grep -v '^device=\|^inode=' "$b/$name") ||
        fail "$label: $name differs past the file's device and inode"
    else
      cmp -s "$a/$name" "$b/$name" || fail "$label: $name differs"
    fi
  done
  echo "compare-windows: $label: $(wc -l <<<"$names_a") files alike"
}

compared=0
for log in gbk-crlf gbk-lf utf8-crlf utf8-lf; do
  for query in "timeout 1" "TIMEOUT 0" "用户登录成功 1" "FATAL_7Q 1"; do
    read -r keyword matchCase <<<"$query"
    a=$(search "$linux/lorvane-cli" "$keyword" "$matchCase" "$work/$log.log")
    b=$(search "$windows/lorvane-cli.exe" "$keyword" "$matchCase" "$work/$log.log")
    compare_histories "$log, \"$keyword\" $matchCase" "$a" "$b"
    rm -rf "$a" "$b"
    compared=$((compared + 1))
  done
done
echo "compare-windows: $compared console searches alike"

# The window: it searches at once when started with a keyword, "0" and a log,
# and keeps its histories beside itself in __Lorvane__ (a folder it may
# write). It stays open, so it is ended once the descriptor, written last,
# is there.
[[ -f $windows/Lorvane.exe ]] || { echo "compare-windows: no Lorvane.exe in $windows: the window is not compared"; exit 0; }
window_searches=0
for log in gbk-crlf utf8-lf; do
  keyword=用户登录成功
  histories=$windows/__Lorvane__
  before=$(ls "$histories" 2>/dev/null | sort || true)
  LC_ALL=C.UTF-8 WINEDEBUG=-all WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/wqy \
    "$wine" "$windows/Lorvane.exe" "$keyword" 0 "Z:$work/$log.log" >"$work/window.out" 2>&1 &
  window=$!
  b=""
  for _ in $(seq 600); do  # up to 5 minutes: a bound for a hung run, not a time the search needs
    made=$(comm -13 <(echo "$before") <(ls "$histories" 2>/dev/null | sort) | head -n 1)
    if [[ -n $made && -f $histories/$made/result.lvn ]]; then
      b=$histories/$made
      break
    fi
    kill -0 "$window" 2>/dev/null || break
    sleep 0.5
  done
  kill "$window" 2>/dev/null || true
  wait "$window" 2>/dev/null || true
  [[ -n $b ]] || fail "$log, the window: no history appeared ($(tr '\n' ' ' <"$work/window.out"))"
  a=$(search "$linux/lorvane-cli" "$keyword" 0 "$work/$log.log")
  compare_histories "$log, the window, \"$keyword\" 0" "$a" "$b"
  rm -rf "$a" "$b"
  window_searches=$((window_searches + 1))
done
echo "compare-windows: $compared console searches and $window_searches window searches alike"
