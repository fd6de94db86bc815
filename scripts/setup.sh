#!/usr/bin/env bash
# Installs what the suite needs on Debian 12, for one or more purposes:
#   setup.sh run       building and running the programs
#   setup.sh test      that, and what the tests and the screenshots need (the default)
#   setup.sh package   that, and what building and checking the .deb needs
# Several may be given at once ("setup.sh test package").
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config     # the build
  qt6-base-dev                  # the windows
  qt6-translations-l10n         # Qt's own Chinese texts for the standard dialogs
  fonts-wqy-microhei            # a font with the Chinese characters of the windows
  xdg-utils                     # xdg-open: "open folder", "edit list", "open file"
)
test_packages=(
  libgtest-dev                  # core tests
  xvfb xauth xdotool imagemagick  # window tests and screenshots under a virtual display
  util-linux time               # flock and /usr/bin/time for the tests and the benchmark
  desktop-file-utils appstream  # the packaging tests check the desktop entries and metainfo
)
package_packages=(
  dpkg-dev fakeroot             # building the .deb
  lintian file                  # checking it
)

[ $# -gt 0 ] || set -- test
packages=("${run_packages[@]}")
for purpose in "$@"; do
  case $purpose in
    run) ;;
    test) packages+=("${test_packages[@]}") ;;
    package) packages+=("${package_packages[@]}") ;;
    *)
      echo "usage: setup.sh [run|test|package]...  (default: test)" >&2
      exit 2
      ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# A package named twice (two purposes) is asked for once.
if [ ${#missing[@]} -gt 0 ]; then
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
