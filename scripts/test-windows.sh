#!/usr/bin/env bash
# Builds the cores, the console programs and their tests for 64-bit Windows
# with MinGW-w64 and runs the tests under Wine, on Debian 12:
#   scripts/test-windows.sh [ctest arguments...]
# Installs what is missing (apt), builds GoogleTest with the same toolchain,
# configures build/win (BUILD_DIR to change it) with the toolchain file of
# ../shared/windows (SUITE_SHARED to change it), builds, and runs ctest in a
# Wine prefix of its own inside the build folder. No windows: see
# docs/windows.md.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build/win}
shared=${SUITE_SHARED:-$repo/../shared}
toolchain=$shared/windows/mingw-w64.cmake
jobs=${JOBS:-2}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

packages=(
  cmake make                    # the build
  g++-mingw-w64-x86-64-posix    # MinGW-w64 with posix threads (std::thread)
  wine64                        # runs the tests
  googletest                    # GoogleTest's source, built here for Windows
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "test-windows: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -f "$toolchain" ] || { echo "test-windows: no toolchain file at $toolchain" >&2; exit 2; }

mkdir -p "$build"
build=$(cd "$build" && pwd)

# GoogleTest for MinGW, once per build folder.
gtest=$build/googletest
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF > "$build/googletest.log"
  cmake --build "$build/googletest-build" -j"$jobs" >> "$build/googletest.log"
  cmake --install "$build/googletest-build" >> "$build/googletest.log"
fi

# Wine in a prefix of its own; the build already runs the test programs (to
# list their tests), so the server is up before it and goes at the end. The
# programs link the MinGW runtime statically; WINEPATH finds it all the same
# should a DLL slip in (a missing one ends a program with status 53 and no word).
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="Z:$gcc_dir;Z:/usr/x86_64-w64-mingw32/lib"
mkdir -p "$WINEPREFIX"
"$wineserver" -p &  # stays in the foreground
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" wineboot --init > /dev/null 2>&1 || true

cmake -S "$repo" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=ON \
      -DGTest_DIR="$gtest/lib/cmake/GTest" > "$build/configure.log"
cmake --build "$build" -j"$jobs"
cd "$build"
ctest -j"$jobs" --output-on-failure "$@"
