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
tree=tests$TILTKIT_TREE_SUFFIX
wine_arch_say test "; the XP and export checks read the i686 binaries"
state=$BUILD_DIR/$tree/wine
trap 'wine_all_down "$state"' EXIT
cd "$BUILD_DIR/$tree" || exit 1
ctest -j2 --no-tests=error --output-on-failure --timeout 300 "$@"
