#!/usr/bin/env bash
# Installs what building, testing and running the suite needs on Debian 12.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config     # the build
  libgtest-dev                  # core tests
  qt6-base-dev                  # the windows
  qt6-translations-l10n         # Qt's own Chinese texts for the standard dialogs
  xvfb xauth xdotool imagemagick fonts-wqy-microhei  # window tests under a virtual display
  util-linux time               # flock and /usr/bin/time for the tests and the benchmark
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
