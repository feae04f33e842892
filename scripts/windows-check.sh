#!/usr/bin/env bash
# Portability check: cross-builds the engine (src/core) and its tests (tests/core) for
# Windows with MinGW-w64 and runs the core test program under Wine. Fails on any failed
# test. Every core test runs there; a test that needs POSIX-only facilities would be left
# out of the Windows build with `#ifndef _WIN32`, never disabled on Linux.
#
#   scripts/windows-check.sh [build-folder [gtest options...]]   (default: build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${1:-build-windows}
shift || true
mkdir -p "$out"
out=$(cd "$out" && pwd)
start=$(date +%s)

bash scripts/install-deps.sh

toolchain="$root/cmake/mingw-w64-x86_64.cmake"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# GoogleTest from Debian's sources, built with the same compiler.
gtest="$out/googletest"
if [[ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" -Dgtest_disable_pthreads=OFF \
    -DCMAKE_INSTALL_PREFIX="$gtest/install" >/dev/null
  cmake --build "$gtest/build" --target install >/dev/null
fi

cmake -S . -B "$out/core" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
  -DRZ_BUILD_QT=OFF -DRZ_BUILD_BENCH=OFF -DRZ_BUILD_TESTS=ON \
  -DGTest_DIR="$gtest/install/lib/cmake/GTest" >/dev/null
cmake --build "$out/core" --target rz760-core-tests

# Debian's wine64 keeps its programs out of PATH.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# A Wine prefix of its own, created once (the first start takes a while).
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -d "$WINEPREFIX/drive_c" ]]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w || true
fi
# Test folders on the Windows side, inside the prefix.
mkdir -p "$WINEPREFIX/drive_c/rz760-test-tmp"
export RZ760_TEST_TMP='C:\rz760-test-tmp'

status=0
"$wine" "$out/core/tests/rz760-core-tests.exe" --gtest_brief=1 "$@" 2>&1 | tr -d '\r' | tee "$out/core-tests.log" \
  || status=$?
"$wineserver" -w || true
echo "windows-check: $(( $(date +%s) - start )) s"
exit $status
