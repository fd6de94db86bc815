#!/usr/bin/env bash
# Builds the suite's Debian package in build/package and checks it with lintian.
# Installs what it needs first (scripts/setup.sh package; see docs/packaging.md).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/package
cd "$top"
# What building and checking the package needs (apt, as root; only what is missing).
bash "$top/scripts/setup.sh" package

# Debian's hardening flags, all of them (bindnow too).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j "${JOBS:-2}"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/*.deb)

echo "lintian:"
lintian --fail-on error "$deb"
echo "package: $deb"
