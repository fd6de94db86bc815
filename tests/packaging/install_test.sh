#!/usr/bin/env bash
# Installs the build into a folder of its own and checks what lands where.
# Usage: install_test.sh BUILD SOURCE PACKAGE VERSION "PROGRAMS" "DESKTOP-IDS" "ICON-SIZES"
set -u
build=$1 source=$2 package=$3 version=$4
read -r -a programs <<<"${5//;/ }"
read -r -a ids <<<"${6//;/ }"
read -r -a sizes <<<"${7//;/ }"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/install_test.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; echo "FAIL: cmake --install"; exit 1; }
rm -f "$prefix.log"
share=$prefix/share

# The shipped programs and nothing else (no test, benchmark or build tool).
for program in "${programs[@]}"; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
for file in "$prefix"/bin/*; do
  name=$(basename "$file")
  [[ " ${programs[*]} " == *" $name "* ]] || fail "bin/$name is installed but not shipped"
done

# PNG width and height, from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

for id in "${ids[@]}"; do
  entry=$share/applications/$id.desktop
  metainfo=$share/metainfo/$id.metainfo.xml
  [ -f "$entry" ] || { fail "$id.desktop is missing"; continue; }
  [ -f "$metainfo" ] || fail "$id.metainfo.xml is missing"
  for size in "${sizes[@]}"; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$icon" ]; then fail "$icon is missing"; continue; fi
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
  done
  svg=$share/icons/hicolor/scalable/apps/$id.svg
  grep -q '<svg ' "$svg" 2>/dev/null || fail "$svg is missing or no SVG"

  # The entry names its icon and a program that is installed.
  [ "$(sed -n 's/^Icon=//p' "$entry")" = "$id" ] || fail "$id.desktop: Icon is not $id"
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$prefix/bin/$exec_program" ] || fail "$id.desktop: Exec=$exec_program is not installed"
  # The metainfo launches this entry, provides that program and has this version.
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "$id: launchable"
  grep -q "<binary>$exec_program</binary>" "$metainfo" || fail "$id: binary is not $exec_program"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "$id: release is not $version"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "$id.desktop does not validate where installed"
  fi
done

# Every manual page, compressed without name or time stamp.
for page in "$source"/packaging/man/*.1; do
  installed=$share/man/man1/$(basename "$page").gz
  if [ ! -f "$installed" ]; then fail "$installed is missing"; continue; fi
  cmp -s <(gzip -dc "$installed") "$page" || fail "$installed is not $page"
  # gzip -n: no file name (flag 8) and a zero time stamp in the header.
  [ "$(od -An -tu1 -j3 -N5 "$installed" | tr -s ' ')" = " 0 0 0 0 0" ] || fail "$installed keeps a name or time"
done
# One for every installed program, the console programs too.
for program in "$prefix"/bin/*; do
  [ -f "$share/man/man1/$(basename "$program").1.gz" ] || fail "$(basename "$program") has no manual page"
done

# The documents, with the Debian copyright and changelog.
doc=$share/doc/$package
for file in LICENSE README.md copyright changelog.gz; do
  [ -f "$doc/$file" ] || fail "$doc/$file is missing"
done
gzip -dc "$doc/changelog.gz" 2>/dev/null | head -n 1 | grep -q "^$package ($version) " || fail "changelog does not start with $package ($version)"

[ "$failures" -eq 0 ] && echo "install_test: all files in place"
exit $((failures > 0))
