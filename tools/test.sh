#!/usr/bin/env bash
# The whole test run: installs what is missing, builds the three trees and
# runs every test (native with sanitizers, fuzz runs, the XP check, and the
# Wine tests) through ctest, whose summary closes the output.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh" || exit 1
bash "$root/tools/build.sh" || exit 1
. "$root/tools/winenv.sh"
state=$BUILD_DIR/tests/wine
trap 'wine_all_down "$state"' EXIT
cd "$BUILD_DIR/tests" || exit 1
if ! wine_native_i386; then
  # Without 32-bit x86 execution there is no Wine: the parts that need none
  # still run, and the run fails, saying why.
  ctest -j2 --no-tests=error --output-on-failure --timeout 300 -R '^(native|fuzz)[.]|^xpcheck$|^exportcheck$|^helpbuild$' "$@"
  echo "test: this machine cannot run 32-bit x86 programs, so the Wine tests did not run" >&2
  dmesg 2>/dev/null | grep -i -m1 'ia-32\|ia32\|32-bit emulation' >&2
  exit 1
fi
ctest -j2 --no-tests=error --output-on-failure --timeout 300 "$@"
