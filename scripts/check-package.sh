#!/usr/bin/env bash
# Installs the suite's package on this machine, as a user would, and checks it:
# every program starts from PATH for an ordinary user (the windows on a
# virtual display), its files go to the user's folders readable by the user
# alone and never beside the programs, the installed desktop entries and
# metainfo validate. Meant for a throwaway root
# (run as root; apt-get installs the package and the checking tools).
# Usage: check-package.sh FILE.deb
set -euo pipefail
deb=$(realpath "${1:?usage: check-package.sh FILE.deb}")
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "$deb" >/dev/null
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool desktop-file-utils appstream man-db >/dev/null
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for program in lorvane-cli partivo-cli; do
  command -v "$program" >/dev/null || fail "$program is not on PATH"
done
lorvane-cli --help >/dev/null || fail "lorvane-cli --help"

# An ordinary user with a private log, as the package is used.
id ann >/dev/null 2>&1 || useradd -m ann
home=$(getent passwd ann | cut -d: -f6)
mkdir -p "$home/logs"
cp "$(dirname "$0")/../samples/sample.log" "$home/logs/app.log"
chown -R ann: "$home/logs"
chmod 600 "$home/logs/app.log"
as_ann() { runuser -u ann -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" LANG=C.UTF-8 "$@"; }

# The console programs from PATH keep their files in the user's folders.
history=$(cd "$home/logs" && as_ann lorvane-cli search ERROR 0 app.log | tail -n 1) || fail "lorvane-cli search"
[ "$(dirname "$history")" = "$home/.local/state/lorvane" ] || fail "the search's history is $history"
[ -f "$history/result.lvn" ] || fail "the search left no descriptor"
as_ann lorvane-cli history | grep -qF "$history/result.lvn" || fail "lorvane-cli history doesn't list $history"
# The log grows: update goes on with the search, follow prints what comes next.
printf '2026-12-10 00:00:00.000 ERROR [check] appended\r\n' >> "$home/logs/app.log"
updated=$(as_ann lorvane-cli update "$history/result.lvn") || fail "lorvane-cli update"
grep -q '| 2026-12-10 00:00:00.000 ERROR \[check\] appended' <<<"$updated" ||
  fail "lorvane-cli update didn't print the appended result: $updated"
(cd "$home/logs" && as_ann lorvane-cli follow ERROR 1 app.log > /tmp/follow.out 2>&1) & following=$!
for _ in $(seq 600); do grep -q 'Ctrl-C' /tmp/follow.out && break; sleep 0.1; done
printf '2026-12-10 00:00:01.000 ERROR [check] followed\r\n' >> "$home/logs/app.log"
for _ in $(seq 600); do grep -q 'followed' /tmp/follow.out && break; sleep 0.1; done
pkill -INT -f 'lorvane-cli follow ERROR 1 app.log' || true
followed=0
wait "$following" || followed=$?
grep -q '| 2026-12-10 00:00:01.000 ERROR \[check\] followed' /tmp/follow.out && [ "$followed" = 130 ] ||
  fail "lorvane-cli follow (status $followed): $(tail -n 3 /tmp/follow.out)"
pieces=$(cd "$home/logs" && as_ann partivo-cli split app.log 10000 | tail -n 1) || fail "partivo-cli split"
[ "$(dirname "$pieces")" = "$home/Partivo" ] && [ -f "$pieces/000000000.txt" ] || fail "the pieces are in $pieces"
echo "console programs: history in $history (updated, and a log followed), pieces in $pieces"

# A UTF-8 log beside the GBK sample: each is read in its own code page, without a setting.
printf '2026-12-08 INFO \xe7\x94\xa8\xe6\x88\xb7 ann\r\nplain\r\n' > "$home/logs/utf8.log"
chown ann: "$home/logs/utf8.log"
found=$(cd "$home/logs" && as_ann lorvane-cli search "$(printf '\xe7\x94\xa8\xe6\x88\xb7')" 0 utf8.log 2>&1) ||
  fail "lorvane-cli search in a UTF-8 log"
grep -q "UTF-8(" <<<"$found" || fail "the UTF-8 log's code page isn't named: $found"
grep -q '其中 1 行' <<<"$found" || fail "the UTF-8 log's line isn't found: $found"

# Each window program opens its window (found by its title) from PATH, as the user.
window_check() {
  local title=$1; shift
  as_ann xvfb-run -a bash -c "
    cd ~/logs || exit 1
    $* >/tmp/\$\$.log 2>&1 & started=\$!
    timeout 60 xdotool search --sync --name '$title' >/dev/null; found=\$?
    kill \$started 2>/dev/null; wait
    exit \$found" || { fail "$1 showed no window titled $title"; return; }
  echo "$1: window '$title' up"
}
window_check '^Lorvane' Lorvane app.log
window_check '^Snipkeep' Snipkeep
window_check '^Tuckaway' Ferrybolt
window_check '^Cleavora' Partivo

# Root too keeps its files in its own folders, never beside the programs.
(cd /tmp && lorvane-cli search ERROR 0 "$home/logs/app.log" >/dev/null) || fail "lorvane-cli search as root"
for name in __Lorvane__ __Cleavora__ __Tuckaway__ config; do
  [ ! -e "/usr/bin/$name" ] || fail "/usr/bin/$name was written beside the programs"
done
# What the user's programs wrote from the log is the user's alone.
written=$(find "$home/.local/state/lorvane" "$home/.config/snipkeep" "$home/Partivo" \
  \( -type f ! -perm 600 \) -o \( -type d ! -perm 700 \) 2>&1)
[ -z "$written" ] || fail "readable by others: $written"

for entry in /usr/share/applications/io.github.logsuite.*.desktop; do
  desktop-file-validate "$entry" || fail "$entry"
done
for metainfo in /usr/share/metainfo/io.github.logsuite.*.metainfo.xml; do
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "$metainfo"
done
for page in Lorvane Snipkeep Ferrybolt Partivo lorvane-cli partivo-cli; do
  man -w "$page" >/dev/null || fail "no manual page for $page"
done
[ "$failures" -eq 0 ] && echo "check-package: $(basename "$deb") installs and runs"
exit $((failures > 0))
