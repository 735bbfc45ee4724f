#!/usr/bin/env bash
# The whole test run: installs what is missing, builds the three trees and
# runs every test (native with sanitizers, fuzz runs, the XP check, and the
# Wine tests) through ctest, whose summary closes the output.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh" || exit 1
. "$root/tools/winenv.sh"
bash "$root/tools/build.sh" || exit 1
tree=tests
if [ "$TILTKIT_WINE_ARCH" = win64 ]; then
  tree=tests64
  echo "test: this machine runs no 32-bit x86 programs; the Wine tests run under the 64-bit Wine against the x86-64 build of the same sources, and the XP and export checks read the i686 binaries" >&2
fi
state=$BUILD_DIR/$tree/wine
trap 'wine_all_down "$state"' EXIT
cd "$BUILD_DIR/$tree" || exit 1
ctest -j2 --no-tests=error --output-on-failure --timeout 300 "$@"
