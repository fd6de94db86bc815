#!/usr/bin/env bash
# Builds the suite for 64-bit Windows with MinGW-w64 (the cores, the console
# programs, the four windows against the Qt for MinGW of ../shared/windows)
# and runs every test under Wine, on Debian 12:
#   scripts/test-windows.sh [ctest arguments...]
# Installs what is missing (apt), unpacks that Qt and builds GoogleTest with
# the same toolchain, configures build/win (BUILD_DIR to change it) with the
# toolchain file of ../shared/windows (SUITE_SHARED to change it), builds, and
# runs ctest in a Wine prefix of its own inside the build folder. With
# COMPARE_WITH=DIR (a Linux build's bin folder) it then compares the searches
# of the Windows programs with the Linux ones (scripts/compare-windows.sh).
# WINDOWS_QT=0 builds without the windows. See docs/windows.md.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build/win}
shared=${SUITE_SHARED:-$repo/../shared}
toolchain=$shared/windows/mingw-w64.cmake
jobs=${JOBS:-$(nproc)}
with_qt=${WINDOWS_QT:-1}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

packages=(
  cmake make                    # the build
  g++-mingw-w64-x86-64-posix    # MinGW-w64 with posix threads (std::thread)
  wine64                        # runs the tests
  googletest                    # GoogleTest's source, built here for Windows
  qt6-translations-l10n         # Qt's Chinese texts, shipped beside the windows
  fonts-wqy-microhei            # the window tests' font on the offscreen platform
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

# Qt for MinGW, once per build folder.
qt_options=()
if [ "$with_qt" = 1 ]; then
  qt=$build/qt-mingw
  if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    tar xzf "$shared/windows/qt6.4.2-mingw-w64.tgz" -C "$build"
  fi
  qt_options=(-DSUITE_QT=ON -DSUITE_QT_MINGW="$qt" -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr
              -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
else
  qt_options=(-DSUITE_QT=OFF)
fi

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
# Wine names Linux files in the locale's charset: one that isn't installed
# (zh_CN.UTF-8 on a plain system) makes every Chinese file name fail.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="Z:$gcc_dir;Z:/usr/x86_64-w64-mingw32/lib"
mkdir -p "$WINEPREFIX"
"$wineserver" -p &  # stays in the foreground
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" wineboot --init > /dev/null 2>&1 || true

cmake -S "$repo" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=ON \
      -DGTest_DIR="$gtest/lib/cmake/GTest" "${qt_options[@]}" > "$build/configure.log"
cmake --build "$build" -j"$jobs"
# Wine now and then leaves a program's start hanging (seen once in some fifty
# runs, never the same test): a test gets a second run after a failure or a
# time-out, and a hang costs at most the time-out.
(cd "$build" && ctest -j"$jobs" --output-on-failure --no-tests=error --timeout 600 --repeat until-pass:2 "$@")

if [ -n "${COMPARE_WITH:-}" ]; then
  bash "$repo/scripts/compare-windows.sh" "$COMPARE_WITH" "$build/bin"
fi
