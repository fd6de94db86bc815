#!/usr/bin/env bash
# Installs the suite's package on this machine, as a user would, and checks it:
# every program starts from PATH (the windows on a virtual display), the
# installed desktop entries and metainfo validate. Meant for a throwaway root
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

# Each window program opens its window (found by its title) from PATH.
window_check() {
  local program=$1 title=$2
  xvfb-run -a bash -c "
    cd /tmp && $program >/tmp/$program.log 2>&1 & started=\$!
    timeout 60 xdotool search --sync --name '$title' >/dev/null; found=\$?
    kill \$started 2>/dev/null; wait
    exit \$found" || { fail "$program showed no window titled $title"; cat "/tmp/$program.log"; return; }
  echo "$program: window '$title' up"
}
window_check Lorvane '^Lorvane'
window_check Snipkeep '^Snipkeep'
window_check Ferrybolt '^Tuckaway'
window_check Partivo '^Cleavora'

for entry in /usr/share/applications/io.github.logsuite.*.desktop; do
  desktop-file-validate "$entry" || fail "$entry"
done
for metainfo in /usr/share/metainfo/io.github.logsuite.*.metainfo.xml; do
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "$metainfo"
done
for page in Lorvane Snipkeep Ferrybolt Partivo; do
  man -w "$page" >/dev/null || fail "no manual page for $page"
done
[ "$failures" -eq 0 ] && echo "check-package: $(basename "$deb") installs and runs"
exit $((failures > 0))
