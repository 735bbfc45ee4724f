#!/usr/bin/env bash
# Configures and builds the three trees: native (pure logic with sanitizers),
# win (the deliverables and stand-ins), tests (GoogleTest programs for Wine);
# with TILTKIT_WINE_ARCH=win64 (set by tools/winenv.sh where only the 64-bit
# Wine runs) win64 and tests64, their x86-64 builds, in place of tests.
# BUILD_DIR chooses the folder (default: build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${JOBS:-$(nproc)}
mkdir -p "$build"

conf() { # tree, extra args...
  local tree=$1; shift
  if [ ! -f "$build/$tree/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build/$tree" -DTILTKIT_PART="${tree%64}" "$@" >/dev/null
  else
    cmake -S "$root" -B "$build/$tree" >/dev/null
  fi
  local log="$build/$tree/build.log"
  if ! cmake --build "$build/$tree" -j "$jobs" >"$log" 2>&1; then
    grep -v -E '^\[ *[0-9]+%\]' "$log" | tail -n 60
    echo "build: the $tree tree failed (log: $log)" >&2
    return 1
  fi
  grep -i -E 'warning' "$log" | head -n 20 || true
}

conf native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
conf win -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-i686-win32.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel
if [ "${TILTKIT_WINE_ARCH:-win32}" = win64 ]; then
  # Only the 64-bit Wine runs here: the Wine tests run an x86-64 build of
  # the same sources, and the XP and export checks read the i686 binaries.
  conf win64 -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-x86_64-win32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel
  conf tests64 -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-x86_64-posix.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTILTKIT_WIN_BIN="$build/win64/bin" -DTILTKIT_NATIVE_BIN="$build/native/bin" \
    -DTILTKIT_XP_BIN="$build/win/bin" -DTILTKIT_WINE_ARCH=win64
else
  conf tests -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-i686-posix.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DTILTKIT_WIN_BIN="$build/win/bin" -DTILTKIT_NATIVE_BIN="$build/native/bin"
fi
